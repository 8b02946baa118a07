#include "MokuhyDlg.h"

#include "AppSub.h"
#include "BannerPicture.h"
#include "ColourSwatch.h"
#include "ExecEnv.h"
#include "Guarded.h"
#include "Labels.h"
#include "NumberSpinField.h"
#include "ProgramResources.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "TextUtil.h"
#include "WaitCursor.h"
#include "Zentry01Strings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QRadioButton* radio(QButtonGroup* group, int id, const QString& text, const QString& name, QWidget* parent) {
    auto* r = new QRadioButton(text, parent);
    r->setObjectName(name);
    group->addButton(r, id);
    return r;
}

QCheckBox* check(const QString& text, const QString& name, QWidget* parent) {
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(name);
    return c;
}

// The text without the blanks around it (single-byte white space only; a
// full-width space is a character the trainee typed).
QString trimBlanks(const QString& text) {
    auto blank = [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    qsizetype first = 0, last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

int numberOrZero(const QString& text) {
    const QString t = trimBlanks(text);
    return TextUtil::AllDigits(t) ? t.toInt() : 0;
}

// Selects the choice of a code; a code without a choice selects the default one.
void checkChoice(QButtonGroup* group, int code, int defaultCode) {
    QAbstractButton* b = group->button(code);
    (b ? b : group->button(defaultCode))->setChecked(true);
}

void setChecked(QCheckBox* box, bool enabled, int value) {
    box->setChecked(enabled && value != 0);
    box->setEnabled(enabled);
}
} // namespace

CMokuhyDlg::CMokuhyDlg(CExecEnv& env, int deckSize, QWidget* parent)
    : QDialog(parent), m_env(env), m_deckSize(deckSize) {
    CWaitCursor wait;
    setObjectName(QStringLiteral("conditionsScreen"));
    buildControls();
    ScreenSetup::SetUpScreen(this, ProgramIcon());
    loadFromEnvironment();
}

void CMokuhyDlg::buildControls() {
    QFont screenFont(QStringLiteral("ＭＳ Ｐゴシック"));
    screenFont.setPointSize(11);
    setFont(screenFont);
    auto* body = AddBannerAndBody<QGridLayout>(this, QStringLiteral("条件設定"), 24, 14, 16);
    body->setHorizontalSpacing(ScreenSetup::ScaleX(this, 18));
    body->setVerticalSpacing(ScreenSetup::ScaleY(this, 12));

    // 終了時間
    auto* endGroup = new QGroupBox(QStringLiteral("終了時間"), this);
    auto* endRow = new QHBoxLayout(endGroup);
    m_endTime = new QButtonGroup(this);
    for (int code = 1; code <= 4; ++code)
        endRow->addWidget(radio(m_endTime, code, Labels::EndTime(code), QStringLiteral("endTime%1").arg(code), this));
    endRow->addStretch(1);

    // 入力画面の設定
    auto* screenGroup = new QGroupBox(QStringLiteral("入力画面の設定"), this);
    auto* screenColumn = new QVBoxLayout(screenGroup);
    m_progress = check(QStringLiteral("進捗状況画面を表示する"), QStringLiteral("progressCheck"), this);
    m_timer = check(QStringLiteral("タイマーを表示する"), QStringLiteral("timerCheck"), this);
    m_remainder = check(QStringLiteral("残り時間を表示する"), QStringLiteral("remainderCheck"), this);
    m_enlarge = check(QStringLiteral("印刷物イメージの拡大"), QStringLiteral("enlargeCheck"), this);
    for (QCheckBox* c : {m_progress, m_timer, m_remainder, m_enlarge})
        screenColumn->addWidget(c);

    // 目標設定
    auto* targetGroup = new QGroupBox(QStringLiteral("目標設定"), this);
    auto* targetGrid = new QGridLayout(targetGroup);
    auto makeTarget = [&](int row, const QString& text, const QString& name, QLabel*& label, CNumberSpinField*& field,
                          QLabel*& unit) {
        label = new QLabel(text, this);
        label->setObjectName(name + QStringLiteral("Label"));
        field = new CNumberSpinField(this);
        field->setObjectName(name + QStringLiteral("Field"));
        field->setFixedWidth(ScreenSetup::ScaleX(this, 90));
        label->setBuddy(field);
        unit = new QLabel(QStringLiteral("枚"), this);
        unit->setObjectName(name + QStringLiteral("Unit"));
        targetGrid->addWidget(label, row, 0);
        targetGrid->addWidget(field, row, 1);
        targetGrid->addWidget(unit, row, 2);
    };
    makeTarget(0, QStringLiteral("作業枚数"), QStringLiteral("work"), m_workLabel, m_work, m_workUnit);
    makeTarget(1, QStringLiteral("正しい枚数"), QStringLiteral("correct"), m_correctLabel, m_correct, m_correctUnit);
    targetGrid->setColumnStretch(3, 1);

    // フィードバックの選択
    auto* feedbackGroup = new QGroupBox(QStringLiteral("フィードバックの選択"), this);
    auto* feedback = new QVBoxLayout(feedbackGroup);
    m_graph = check(QStringLiteral("グラフを表示する"), QStringLiteral("graphCheck"), this);
    m_errorFeedback = check(QStringLiteral("エラーチェック結果のフィードバックをする"),
                            QStringLiteral("errorFeedbackCheck"), this);
    m_finalFeedback = check(QStringLiteral("最終フィードバックをする"), QStringLiteral("finalFeedbackCheck"), this);
    for (QCheckBox* c : {m_graph, m_errorFeedback, m_finalFeedback})
        feedback->addWidget(c);
    feedback->addStretch(1);
    m_methodLabel = new QLabel(QStringLiteral("フィードバック方法の選択"), this);
    m_methodLabel->setObjectName(QStringLiteral("methodLabel"));
    feedback->addWidget(m_methodLabel);
    auto* methodRow = new QHBoxLayout;
    m_method = new QButtonGroup(this);
    const char* methodNames[3] = {"methodSound", "methodFigure", "methodColour"};
    for (int code = 1; code <= 3; ++code)
        methodRow->addWidget(radio(m_method, code, Labels::ResultMethod(code), QLatin1String(methodNames[code - 1]), this));
    methodRow->addStretch(1);
    feedback->addLayout(methodRow);
    feedback->addStretch(1);
    m_colourLabel = new QLabel(QStringLiteral("好きな色を１つ選択してください"), this);
    m_colourLabel->setObjectName(QStringLiteral("colourLabel"));
    feedback->addWidget(m_colourLabel);
    auto* colourGrid = new QGridLayout;
    colourGrid->setVerticalSpacing(ScreenSetup::ScaleY(this, 2));
    m_colour = new QButtonGroup(this);
    for (int code = 1; code <= 6; ++code) {
        colourGrid->addWidget(radio(m_colour, code, Labels::Colour(code),
                                    QStringLiteral("colour%1").arg(code), this),
                              0, code - 1);
        auto* swatch = new CColourSwatch(this);
        swatch->setObjectName(QStringLiteral("swatch%1").arg(code));
        m_swatches[code - 1] = swatch;
        colourGrid->addWidget(swatch, 1, code - 1, Qt::AlignLeft);
    }
    colourGrid->setColumnStretch(6, 1);
    feedback->addLayout(colourGrid);
    feedback->addStretch(2);

    body->addWidget(endGroup, 0, 0);
    body->addWidget(screenGroup, 1, 0);
    body->addWidget(targetGroup, 2, 0);
    body->addWidget(feedbackGroup, 0, 1, 3, 1);
    body->setColumnStretch(0, 4);
    body->setColumnStretch(1, 5);
    body->setRowStretch(0, 2);
    body->setRowStretch(1, 4);
    body->setRowStretch(2, 3);
    body->setRowMinimumHeight(3, ScreenSetup::ScaleY(this, 4));

    auto* next = new QPushButton(QStringLiteral("次へ"), this);
    next->setObjectName(QStringLiteral("nextButton"));
    next->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    for (QPushButton* b : {next, cancel})
        b->setMinimumWidth(ScreenSetup::ScaleX(this, 100));
    // A row inside a grid whose two spacings differ gets no spacing of its own.
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(ScreenSetup::ScaleX(this, 10));
    buttons->addStretch(1);
    buttons->addWidget(next);
    buttons->addWidget(cancel);
    body->addLayout(buttons, 4, 0, 1, 2);

    connect(next, &QPushButton::clicked, this, &CMokuhyDlg::next);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_errorFeedback, &QCheckBox::clicked, this, &CMokuhyDlg::applyFeedbackRule);
    connect(m_finalFeedback, &QCheckBox::clicked, this, &CMokuhyDlg::applyFeedbackRule);
    connect(m_method, &QButtonGroup::buttonClicked, this, &CMokuhyDlg::applyFeedbackRule);
}

void CMokuhyDlg::loadFromEnvironment() {
    const int course = m_env.course_code;
    const bool levelUp = course == 3;
    const bool imageOnScreen = AppSub::ImageOnScreen();

    checkChoice(m_endTime, m_env.end_time, 2);
    setChecked(m_progress, course != 1, m_env.progress_flg);
    setChecked(m_timer, levelUp, m_env.timer_flg);
    setChecked(m_remainder, levelUp, m_env.remainder_flg);
    setChecked(m_enlarge, course != 1 && imageOnScreen, m_env.enlarge_flg);

    m_work->setRange(1, m_deckSize);
    m_correct->setRange(1, m_deckSize);
    auto targetText = [levelUp](int v) { return levelUp && v > 0 ? QString::number(v) : QString(); };
    m_work->setFieldText(targetText(m_env.target_value));
    m_correct->setFieldText(targetText(m_env.target_value2));
    for (QWidget* w : std::initializer_list<QWidget*>{m_workLabel, m_work, m_workUnit, m_correctLabel, m_correct,
                                                      m_correctUnit})
        w->setEnabled(levelUp);

    setChecked(m_graph, levelUp, m_env.graph_flg);
    setChecked(m_errorFeedback, course == 2, m_env.error_feedback_flg);
    setChecked(m_finalFeedback, levelUp, m_env.final_feedback_flg);

    checkChoice(m_method, m_env.result_code, 1);
    checkChoice(m_colour, m_env.color_code, 1);
    applyFeedbackRule();
}

void CMokuhyDlg::applyFeedbackRule() {
    const bool methodOpen = m_errorFeedback->isChecked() || m_finalFeedback->isChecked();
    m_methodLabel->setEnabled(methodOpen);
    for (QAbstractButton* b : m_method->buttons())
        b->setEnabled(methodOpen);

    const int method = m_method->checkedId();
    const bool colourOpen = methodOpen && (method == 2 || method == 3);
    m_colourLabel->setEnabled(colourOpen);
    for (QAbstractButton* b : m_colour->buttons())
        b->setEnabled(colourOpen);
    for (int code = 1; code <= 6; ++code) {
        const Labels::Rgb rgb = Labels::ColourRgb(code);
        m_swatches[code - 1]->setColour(colourOpen ? QColor(rgb.r, rgb.g, rgb.b)
                                                   : palette().color(QPalette::Button));
    }
}

void CMokuhyDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (parentWidget())
        parentWidget()->hide();
}

bool CMokuhyDlg::checkField(CNumberSpinField* field, const QString& label) {
    if (!field->isEnabled())
        return true;
    const QString text = trimBlanks(field->fieldText());
    auto refuse = [field](const QString& message) {
        AppMessageBox(message, MsgIcon::Exclamation);
        field->setFocus();
        field->selectAll();
        return false;
    };
    if (text.isEmpty())
        return refuse(FormatString(Zentry01Strings::TargetEmpty, label));
    bool ok = false;
    const int value = text.toInt(&ok);
    if (TextUtil::AllDigits(text) && ok && value >= field->low() && value <= field->high())
        return true;
    const QString range = QStringLiteral("%1 ～ %2").arg(field->low()).arg(field->high());
    return refuse(FormatString(Zentry01Strings::TargetOutOfRange, label, range));
}

void CMokuhyDlg::next() {
    Guarded([this] {
        if (!checkField(m_work, QStringLiteral("作業枚数")) || !checkField(m_correct, QStringLiteral("正しい枚数")))
            return;
        const int work = numberOrZero(m_work->fieldText());
        const int correct = numberOrZero(m_correct->fieldText());
        if (work < correct) {
            AppMessageBox(Zentry01Strings::CorrectAboveWork, MsgIcon::Exclamation);
            m_correct->setFocus();
            m_correct->selectAll();
            return;
        }
        m_env.SetTraineeConditions(m_endTime->checkedId(), m_progress->isChecked(), m_timer->isChecked(),
                                   m_remainder->isChecked(), work, correct, m_graph->isChecked(),
                                   m_errorFeedback->isChecked(), m_finalFeedback->isChecked(), m_method->checkedId(),
                                   m_colour->checkedId(), m_enlarge->isChecked());
        accept();
    });
}
