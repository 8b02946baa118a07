#pragma once
// Prints the cards of a PRINT_THREAD_PARAM record onto a printer, one page at
// a time from the event loop, so the progress screen stays responsive and a
// cancel takes effect after the page being printed. The document is always
// ended.
#include "PrintJob.h"

#include <QObject>
#include <QPainter>
#include <QString>

#include <memory>

class QPrinter;

class CPrintWorker : public QObject {
    Q_OBJECT
public:
    enum Result { kOk = 1, kCancel = 2 };

    // valueFace: the face of the cards' values (the form's own face by default;
    // the handwritten forms use a handwriting face).
    CPrintWorker(const PRINT_THREAD_PARAM& param, QPrinter& printer, QString valueFace = QString(),
                 QObject* parent = nullptr);
    ~CPrintWorker() override;

    // Starts printing; the pages follow from the event loop, then finished().
    void Start();
    // Prints every page at once and returns the result (no screen to keep alive).
    int RunToEnd();

signals:
    void progressRange(int maximum);
    // Page p is being printed; text "%d 頁を印刷しています".
    void progress(int page, const QString& text);
    void finished(int result);

private:
    // False when there is nothing to print or the document could not start.
    bool begin(int* result);
    void printPage(size_t index);
    void end();
    void step();

    PRINT_THREAD_PARAM m_param;
    QPrinter& m_printer;
    QString m_valueFace;
    std::unique_ptr<QPainter> m_painter;
    bool m_pdf = false; // painting through Qt's PDF engine
    std::vector<PrintLayout::Page> m_pages;
    size_t m_next = 0;
};
