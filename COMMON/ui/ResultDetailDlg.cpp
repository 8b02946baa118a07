#include "ResultDetailDlg.h"

#include "ArrDenpyo.h"
#include "BannerPicture.h"
#include "Codec.h"
#include "GrowToShow.h"
#include "Guarded.h"
#include "IKCRitchEditCtrl.h"
#include "Labels.h"
#include "ScreenSetup.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString kFace = QStringLiteral("ＭＳ Ｐゴシック");

QString allMarked(const QString& text) { return QString(cp932::characters(text).size(), QLatin1Char('C')); }

// 問１, 問２, 問３ as their answer texts.
QString answerText(int item, const QString& code) {
    switch (item) {
    case 6: return Labels::Question1(code.toInt());
    case 7: return Labels::Question2(code.toInt());
    default: return Labels::Question3(code);
    }
}
} // namespace

CResultDetailDlg::CResultDetailDlg(const CArrBase& deck, int deckIndex, int problemCode, Frame frame,
                                   QWidget* parent)
    : QDialog(parent), m_frame(frame) {
    setObjectName(QStringLiteral("resultDetailScreen"));
    const bool taskProgram = frame == TaskProgram;
    QVBoxLayout* body = nullptr;
    if (taskProgram) {
        body = AddBannerAndBody<QVBoxLayout>(this, QStringLiteral("解答・入力値"), 16, 10, 12);
    } else {
        auto* outer = new QVBoxLayout(this);
        body = new QVBoxLayout;
        outer->addLayout(body, 1);
        outer->addWidget(ScreenSetup::ResizeNote(this));
    }

    const CArrBaseInfo& card = deck.at(deckIndex);
    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(ScreenSetup::ScaleX(this, 8));
    titleRow->addWidget(new QLabel(QStringLiteral("課題名"), this));
    auto* task = new QLabel(Labels::Problem(problemCode), this);
    task->setObjectName(QStringLiteral("taskName"));
    task->setFrameShape(QFrame::StyledPanel);
    titleRow->addWidget(task);
    titleRow->addSpacing(ScreenSetup::ScaleX(this, 24));
    titleRow->addWidget(new QLabel(QStringLiteral("NO."), this));
    auto* number = new QLabel(QString::asprintf("%04d", card.number), this);
    number->setObjectName(QStringLiteral("cardNumber"));
    number->setFrameShape(QFrame::StyledPanel);
    titleRow->addWidget(number);
    titleRow->addStretch(1);
    body->addLayout(titleRow);

    m_scroll = new QScrollArea(this);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    auto* page = new QWidget(m_scroll);
    auto* groups = new QGridLayout(page);
    // A gap between the groups and the scroll bar beside them.
    groups->setContentsMargins(0, 0, ScreenSetup::ScaleX(this, 6), 0);
    m_scroll->setWidget(page);
    body->addWidget(m_scroll, 1);

    const bool questionnaire = problemCode == 1;
    // The task program speaks to the trainee in the postcard's own words.
    const QStringList titles =
        questionnaire && taskProgram
            ? QStringList{QStringLiteral("フリガナ"), QStringLiteral("お名前"), QStringLiteral("〒（郵便番号）"),
                          QStringLiteral("ご住所"), QStringLiteral("電話番号"), QStringLiteral("メールアドレス"),
                          QStringLiteral("問１"), QStringLiteral("問２"), QStringLiteral("問３")}
            : Labels::ItemNames(problemCode);
    for (int i = 0; i < titles.size(); ++i) {
        auto* group = new QGroupBox(titles[i], page);
        auto* grid = new QGridLayout(group);
        grid->setContentsMargins(ScreenSetup::ScaleX(this, 8), ScreenSetup::ScaleY(this, 4),
                                 ScreenSetup::ScaleX(this, 8), ScreenSetup::ScaleY(this, 4));
        grid->setVerticalSpacing(ScreenSetup::ScaleY(this, 2));
        ItemBoxes boxes;
        boxes.title = titles[i];
        // Questionnaire cards have no printed values: one input box.
        const QStringList labels = !questionnaire ? QStringList{QStringLiteral("正解"), QStringLiteral("入力前"),
                                                                QStringLiteral("入力後")}
                                   : taskProgram  ? QStringList{QStringLiteral("正解"), QStringLiteral("入力")}
                                                  : QStringList{QStringLiteral("正解"), QStringLiteral("入力後")};
        for (int row = 0; row < labels.size(); ++row) {
            CIKCRitchEditCtrl* box = makeBox(QStringLiteral("item%1_%2").arg(i).arg(row));
            grid->addWidget(new QLabel(labels[row], group), row, 0);
            grid->addWidget(box, row, 1);
            if (row == 0)
                boxes.correct = box;
            else if (row == 2 || (questionnaire && !taskProgram))
                boxes.after = box;
            else
                boxes.before = box;
        }
        grid->setColumnStretch(1, 1);
        // Questionnaire groups in two columns, the voucher's four one under another.
        if (questionnaire)
            groups->addWidget(group, i / 2, i % 2);
        else
            groups->addWidget(group, i, 0);
        m_items << boxes;
    }
    groups->setRowStretch(groups->rowCount(), 1);

    m_ok = new QPushButton(taskProgram ? QStringLiteral("試行一覧表示画面に戻る(&N)") : QStringLiteral("閉じる"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setDefault(true);
    m_ok->setMinimumHeight(ScreenSetup::ScaleY(this, 30));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    body->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &CResultDetailDlg::back);

    if (taskProgram)
        ScreenSetup::SetUpScreen(this, QApplication::windowIcon());
    else
        ScreenSetup::SetUpPlacedScreen(this, QStringLiteral("解析結果の出力 [解答入力値参照]"), QApplication::windowIcon());
    Guarded([&] {
        if (questionnaire)
            fillQuestionnaire(deck, deckIndex);
        else
            fillVoucher(deck, deckIndex, problemCode == 3);
    });
}

CIKCRitchEditCtrl* CResultDetailDlg::makeBox(const QString& name) {
    auto* box = new CIKCRitchEditCtrl(this);
    box->setObjectName(name);
    box->SetFont(120, kFace);
    box->SetReadOnly(true);
    return box;
}

QString CResultDetailDlg::VisibleSpaces(const QString& text) {
    QString out = text;
    out.replace(QChar(0x3000), QStringLiteral("＿"));
    out.replace(QLatin1Char(' '), QLatin1Char('_'));
    return out;
}

QString CResultDetailDlg::DifferenceMarks(const QString& text, const QString& reference) {
    const QStringList a = cp932::characters(text);
    const QStringList b = cp932::characters(reference);
    QString marks;
    for (qsizetype i = 0; i < a.size(); ++i)
        marks += (i < b.size() && a[i] == b[i]) ? QLatin1Char('N') : QLatin1Char('C');
    return marks;
}

void CResultDetailDlg::fillQuestionnaire(const CArrBase& deck, int index) {
    const CArrBaseInfo& card = deck.at(index);
    for (int item = 0; item < m_items.size(); ++item) {
        const QString& correct = card.correct[item];
        const QString& input = card.input[item];
        ItemBoxes& boxes = m_items[item];
        CIKCRitchEditCtrl* inputBox = boxes.after ? boxes.after : boxes.before;
        if (item < 6) {
            boxes.correct->SetText(VisibleSpaces(correct));
            inputBox->SetText(VisibleSpaces(input));
            // Marks from the stored texts: a typed "_" is not a correct space.
            inputBox->ShowMarks(DifferenceMarks(input, correct));
        } else {
            boxes.correct->SetText(VisibleSpaces(answerText(item, correct)));
            const QString shown = VisibleSpaces(answerText(item, input));
            inputBox->SetText(shown);
            if (input != correct)
                inputBox->ShowMarks(allMarked(shown));
        }
    }
}

void CResultDetailDlg::fillVoucher(const CArrBase& deck, int index, bool missCheck) {
    const CArrBaseInfo& card = deck.at(index);
    for (int item = 0; item < m_items.size(); ++item) {
        const QString& correct = card.correct[item];
        const QString& printed = card.erroneous[item];
        const QString& input = card.input[item];
        ItemBoxes& boxes = m_items[item];
        boxes.before->SetText(VisibleSpaces(printed));
        if (missCheck) {
            // 正解: where marks belong; 入力後: where the trainee put them.
            boxes.correct->SetText(VisibleSpaces(printed));
            boxes.correct->ShowMarks(DifferenceMarks(printed, correct));
            boxes.after->SetText(VisibleSpaces(printed));
            boxes.after->ShowMarks(input);
        } else {
            boxes.correct->SetText(VisibleSpaces(correct));
            boxes.after->SetText(VisibleSpaces(input));
            boxes.after->ShowMarks(DifferenceMarks(input, correct));
        }
    }
}

void CResultDetailDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_opened)
        return;
    m_opened = true;
    if (m_frame == Utility) {
        // The shared placement or the least size of the result screens cuts
        // the last group: the screen grows to show every group, where the
        // screen allows, and scrolls only where it does not.
        layout()->activate();
        const QSize page = m_scroll->widget()->sizeHint();
        const QSize shown = m_scroll->viewport()->size();
        GrowToShow::By(this, QSize(page.width() - shown.width(), page.height() - shown.height()));
    }
    QTimer::singleShot(0, this, [this] { m_ok->setFocus(); });
}

void CResultDetailDlg::keyPressEvent(QKeyEvent* event) {
    // The trainee leaves by the button only, as on every result screen of a trial.
    if (m_frame == TaskProgram && event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CResultDetailDlg::back() {
    if (m_frame == TaskProgram && parentWidget())
        parentWidget()->show();
    accept();
}
