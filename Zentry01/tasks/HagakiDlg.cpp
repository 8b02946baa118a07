#include "HagakiDlg.h"

#include "ArrDenpyo.h"
#include "DB.h"
#include "ExecEnv.h"
#include "Guarded.h"
#include "ICStatic.h"
#include "IKCRitchEditCtrl.h"
#include "Labels.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "WaitCursor.h"
#include "Zentry01App.h"
#include "Zentry01Strings.h"
#include "ZipDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

namespace {
enum Item { Furigana, Name, ZipCode, Address, Telephone, Mail, Question1, Question2, Question3 };
constexpr int kRowPitch = 40;
constexpr int kRowHeight = 32;
constexpr int kNoAnswer = 0; // list entry "0.回答なし", radio "回答なし"

// The coded value of a correct answer, read as a decimal number like the form does.
int answerCode(const QString& text) { return text.trimmed().toInt(); }
} // namespace

CHagakiDlg::CHagakiDlg(CKaisekiFile& kaiseki, QWidget* parent) : CDenpyoDlg(kaiseki, parent) {}

CArrBase* CHagakiDlg::TaskDeck() const { return theApp().HagakiDeck(); }

void CHagakiDlg::CreateItems() {
    const QStringList captions = {QStringLiteral("フリガナ(&1)"), QStringLiteral("名前(&2)"),
                                  QStringLiteral("〒(&3)"),       QStringLiteral("住所(&4)"),
                                  QStringLiteral("電話番号(&5)"), QStringLiteral("メールアドレス(&6)")};
    const QStringList names = {QStringLiteral("furigana"),  QStringLiteral("name"),      QStringLiteral("zipCode"),
                               QStringLiteral("address"),   QStringLiteral("telephone"), QStringLiteral("mailAddress")};
    for (int i = 0; i < captions.size(); ++i) {
        AddItemLabel(captions[i])->setObjectName(names[i] + QStringLiteral("Label"));
        AddField(names[i]);
        if (i == ZipCode) {
            m_zipSearch = AddButton(QStringLiteral("▽検索(&Z)"), QStringLiteral("zipSearch"));
            connect(m_zipSearch, &QPushButton::clicked, this, [this] { Guarded([this] { SearchAddress(); }); });
        }
    }
    QFont choiceFont = font();
    choiceFont.setPointSize(11);

    AddItemLabel(QStringLiteral("問１(&7)"))->setObjectName(QStringLiteral("question1Label"));
    m_question1 = new QComboBox(this);
    m_question1->setObjectName(QStringLiteral("question1"));
    m_question1->setFont(choiceFont);

    AddItemLabel(QStringLiteral("問２(&8)"))->setObjectName(QStringLiteral("question2Label"));
    m_question2 = new QButtonGroup(this);
    const QStringList answers2 = {QStringLiteral("1.役に立った"), QStringLiteral("2.ふつう"),
                                  QStringLiteral("3.期待はずれだった"), QStringLiteral("回答なし")};
    for (int i = 0; i < answers2.size(); ++i) {
        auto* radio = new QRadioButton(answers2[i], this);
        radio->setObjectName(QStringLiteral("question2_%1").arg(i < 3 ? i + 1 : kNoAnswer));
        radio->setFont(choiceFont);
        m_question2->addButton(radio, i < 3 ? i + 1 : kNoAnswer);
        m_question2Buttons << radio;
    }

    AddItemLabel(QStringLiteral("問３(&9)"))->setObjectName(QStringLiteral("question3Label"));
    m_wish = new QCheckBox(QStringLiteral("希望する"), this);
    m_wish->setObjectName(QStringLiteral("question3_1"));
    m_noWish = new QCheckBox(QStringLiteral("希望しない"), this);
    m_noWish->setObjectName(QStringLiteral("question3_2"));
    m_wish->setFont(choiceFont);
    m_noWish->setFont(choiceFont);

    m_zipSearch->setVisible(Env().zip_flg != 0);
}

QWidget* CHagakiDlg::ItemFocusTarget(int item) const {
    switch (item) {
    case Question1:
        return m_question1;
    case Question2:
        return m_question2->checkedButton() ? m_question2->checkedButton() : m_question2Buttons.first();
    case Question3:
        return m_wish;
    default:
        return CDenpyoDlg::ItemFocusTarget(item);
    }
}

QSize CHagakiDlg::ImageSize(bool enlarged) const { return enlarged ? QSize(458, 678) : QSize(382, 565); }
int CHagakiDlg::PanelWidth(bool enlarged) const { return enlarged ? 446 : 400; }
QPoint CHagakiDlg::InputShift(int placement) const {
    switch (placement) {
    case 1:
        return {320, 30};
    case 2:
        return {-80, 30};
    default:
        return {0, 0};
    }
}
QPoint CHagakiDlg::BaseOrigin() const { return {140, 60}; }

int CHagakiDlg::LayoutItems(int x, int y, int fieldRight) {
    const auto sx = [this](int v) { return ScreenSetup::ScaleX(this, v); };
    const auto sy = [this](int v) { return ScreenSetup::ScaleY(this, v); };
    const int fieldX = x + sx(FieldOffset());
    const int h = sy(kRowHeight);
    const int labelWidth = fieldX - x - 4;
    for (int i = 0; i < m_fields.size(); ++i) {
        m_labels[i]->setGeometry(x, y, labelWidth, h);
        int right = fieldRight;
        if (i == ZipCode) {
            // The postal code is short; the search button sits beside it.
            right = std::min(fieldRight, fieldX + sx(150));
            m_zipSearch->setGeometry(right + sx(8), y, sx(100), h);
        }
        PlaceField(m_fields[i], fieldX, y, right - fieldX, h);
        y += sy(kRowPitch);
    }
    m_labels[Question1]->setGeometry(x, y, labelWidth, h);
    m_question1->setGeometry(fieldX, y, std::min(fieldRight - fieldX, sx(260)), h);
    y += sy(kRowPitch);

    // 問２: the answers side by side, on a second line where the form is narrow.
    // Each choice only as wide as its text, so a click beside it selects nothing.
    const auto place = [](QWidget* w, int left, int top, int maxWidth, int height) {
        w->setGeometry(left, top, std::min(w->sizeHint().width(), maxWidth), height);
    };
    m_labels[Question2]->setGeometry(x, y, labelWidth, h);
    int left = fieldX;
    int line = y;
    for (QRadioButton* radio : m_question2Buttons) {
        const int width = std::min(radio->sizeHint().width(), fieldRight - fieldX);
        if (left > fieldX && left + width > fieldRight) {
            left = fieldX;
            line += sy(28);
        }
        place(radio, left, line, width, sy(26));
        left += width + sx(16);
    }
    y = line + sy(kRowPitch);

    m_labels[Question3]->setGeometry(x, y, labelWidth, h);
    const int half = (fieldRight - fieldX) / 2;
    place(m_wish, fieldX, y, half, h);
    place(m_noWish, fieldX + half, y, half, h);
    return y + sy(kRowPitch);
}

void CHagakiDlg::fillQuestion1() {
    m_question1->clear();
    for (int code : {1, 2, 3, 4, 5, 6, 0})
        m_question1->addItem(Labels::Question1(code), code);
}

void CHagakiDlg::ClearItems() {
    CDenpyoDlg::ClearItems();
    m_question2->button(kNoAnswer)->setChecked(true);
    m_wish->setChecked(false);
    m_noWish->setChecked(false);
    fillQuestion1();
    m_question1->setCurrentIndex(m_question1->findData(kNoAnswer));
}

void CHagakiDlg::ShowItems(const CArrBaseInfo& card, bool answers) {
    if (!answers)
        return;
    for (int i = 0; i < m_fields.size(); ++i)
        m_fields[i]->SetText(card.correct[i]);
    const int q1 = answerCode(card.correct[Question1]);
    m_question1->setCurrentIndex(m_question1->findData(q1 >= 1 && q1 <= 6 ? q1 : kNoAnswer));
    const int q2 = answerCode(card.correct[Question2]);
    m_question2->button(q2 >= 1 && q2 <= 3 ? q2 : kNoAnswer)->setChecked(true);
    const int q3 = answerCode(card.correct[Question3]);
    m_wish->setChecked(q3 == 1);
    m_noWish->setChecked(q3 == 2);
}

void CHagakiDlg::StoreItems(CArrBaseInfo& card) {
    for (int i = 0; i < m_fields.size(); ++i)
        card.input[i] = m_fields[i]->Text();
    const int q1 = m_question1->currentData().toInt();
    card.input[Question1] = q1 >= 1 && q1 <= 6 ? QString::number(q1) : QString();
    const int q2 = m_question2->checkedId();
    card.input[Question2] = q2 >= 1 && q2 <= 3 ? QString::number(q2) : QString();
    if (m_wish->isChecked() && m_noWish->isChecked())
        card.input[Question3] = QStringLiteral("両方ともON");
    else if (m_wish->isChecked())
        card.input[Question3] = QStringLiteral("1");
    else if (m_noWish->isChecked())
        card.input[Question3] = QStringLiteral("2");
    else
        card.input[Question3].clear();
}

QVector<QWidget*> CHagakiDlg::choiceControls() const {
    QVector<QWidget*> controls{m_question1, m_wish, m_noWish, m_zipSearch};
    for (QRadioButton* radio : m_question2Buttons)
        controls << radio;
    return controls;
}

void CHagakiDlg::EnableItems() {
    CDenpyoDlg::EnableItems();
    for (QWidget* control : choiceControls())
        control->setEnabled(true);
}

void CHagakiDlg::DisableItems() {
    CDenpyoDlg::DisableItems();
    for (QWidget* control : choiceControls())
        control->setEnabled(false);
}

void CHagakiDlg::SearchAddress() {
    if (!Env().zip_flg)
        return;
    CWaitCursor wait;
    const QString typed = m_fields[ZipCode]->Text();
    const int count = MasterDb().CountZip(typed);
    if (count == 1) {
        QString pref, city, town;
        if (MasterDb().FetchZip(typed, 0, pref, city, town))
            putAddress(pref + city + town);
    } else if (count >= 2) {
        CZipDlg list(MasterDb(), typed, this);
        if (list.exec() == QDialog::Accepted && !TrialClosed())
            putAddress(list.address());
    } else {
        AppMessageBox(Zentry01Strings::ZipNotFound, MsgIcon::Exclamation);
    }
}

void CHagakiDlg::putAddress(const QString& address) {
    CIKCRitchEditCtrl* field = m_fields[Address];
    field->SetText(address);
    field->setFocus();
    QTextCursor cursor = field->textCursor();
    cursor.movePosition(QTextCursor::End);
    field->setTextCursor(cursor);
}

bool CHagakiDlg::TaskKey(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_zipSearch->isVisible() && m_zipSearch->hasFocus()) {
        SearchAddress();
        return true;
    }
    return false;
}
