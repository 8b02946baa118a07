#pragma once
// "郵便番号検索": lets the trainee choose one address when a postal code has
// several rows in the postal list.
#include <QDialog>
#include <QString>

class CDB;
class QLabel;
class QListWidget;
class QPushButton;

class CZipDlg : public QDialog {
    Q_OBJECT
public:
    // Looks the code up at once; `typed` is shown exactly as the trainee typed it.
    CZipDlg(CDB& master, const QString& typed, QWidget* parent = nullptr);

    // Closes with cancel at once when the code has no rows (or the lookup failed).
    int exec() override;
    // The chosen address after OK.
    const QString& address() const { return m_address; }
    int rowCount() const { return m_count; }

    QListWidget* list() const { return m_list; }
    QPushButton* okButton() const { return m_ok; }

public slots:
    void accept() override;

private:
    void fillList(CDB& master, const QString& typed);
    void updateOk();

    QListWidget* m_list = nullptr;
    QLabel* m_countText = nullptr;
    QPushButton* m_ok = nullptr;
    QString m_address;
    int m_count = 0;
};
