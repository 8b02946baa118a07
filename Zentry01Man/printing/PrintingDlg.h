#pragma once
// "印刷中...": asks for the printer, then prints the chosen cards page by page
// with a progress bar. "ｷｬﾝｾﾙ" stops after the page being printed; the screen
// closes when printing has ended (OK) or when nothing was printed (cancel).
#include "PrintJob.h"

#include <QDialog>
#include <QPrinter>

#include <atomic>
#include <memory>

class CPrintWorker;
class QLabel;
class QProgressBar;

// Says where a PDF written by the printing went (absolute path); nothing
// when no file was written.
void TellWherePdfWent(const QString& pdfFile);

class CPrintingDlg : public QDialog {
    Q_OBJECT
public:
    // kind 1 questionnaire cards, 2 vouchers; dataSet 1 or 2; paper 1 A4, 2
    // postcard; card numbers firstNo..lastNo, 0 and 0 for the whole deck.
    CPrintingDlg(int kind, int dataSet, int paper, int firstNo, int lastNo, QWidget* parent = nullptr);
    ~CPrintingDlg() override;

    int exec() override;
    // The PDF file chosen as the output ("print to file"), else empty.
    QString PdfFile() const;
    void reject() override; // Esc and the window's close ask like "ｷｬﾝｾﾙ"

private:
    void cancelClicked();
    void finishedPrinting(int result);

    int m_kind, m_dataSet, m_paper, m_firstNo, m_lastNo;
    QPrinter m_printer{QPrinter::HighResolution};
    std::atomic<int> m_cancel{0};
    std::unique_ptr<PRINT_THREAD_PARAM> m_param;
    std::unique_ptr<CPrintWorker> m_worker;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    bool m_asking = false;
    int m_pendingResult = 0;
};
