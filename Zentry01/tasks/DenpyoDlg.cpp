#include "DenpyoDlg.h"

#include "AppSub.h"
#include "ArrDenpyo.h"
#include "BannerPicture.h"
#include "Clock.h"
#include "CountTimer.h"
#include "DateUtil.h"
#include "ExecEnv.h"
#include "Guarded.h"
#include "ICException.h"
#include "ICStatic.h"
#include "IKCRitchEditCtrl.h"
#include "InputLog.h"
#include "KCPrintImage.h"
#include "KCStaticShintyoku.h"
#include "KaisekiFile.h"
#include "LiveTrials.h"
#include "Labels.h"
#include "ProgramResources.h"
#include "Result2Dlg.h"
#include "ScreenConventions.h"
#include "ScreenFit.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "WaitCursor.h"
#include "Zentry01App.h"
#include "Zentry01Strings.h"

#include <QApplication>
#include <algorithm>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr int kHeaderHeight = 40;
constexpr int kTickMs = 250;
constexpr int kRowPitch = 50;
constexpr int kFieldHeight = 32;
constexpr int kFieldFontTenths = 120;
const QString kFieldFace = QStringLiteral("ＭＳ Ｐゴシック");
} // namespace

CDenpyoDlg::CDenpyoDlg(CKaisekiFile& kaiseki, QWidget* parent)
    : QDialog(parent), m_kaiseki(kaiseki), m_env(&theApp().ExecEnv()), m_userDb(&theApp().UserDb()),
      m_masterDb(&theApp().MasterDb()), m_log(std::make_unique<CInputLog>()) {
    setObjectName(QStringLiteral("TaskScreen"));
    // Enter belongs to the task: it presses no button here (▽検索 handles its own).
    ScreenConventions::LeaveEnterToScreen(this);
    m_tick.setSingleShot(true);
    m_tick.setInterval(kTickMs);
    connect(&m_tick, &QTimer::timeout, this, [this] { Guarded([this] { onTick(); }); });
}

CDenpyoDlg::~CDenpyoDlg() { qApp->removeEventFilter(this); }

QString CDenpyoDlg::InputFilePath() const { return m_log->Path(); }

int CDenpyoDlg::exec() {
    if (!m_opened && !OpenTrial())
        return result();
    return QDialog::exec();
}

CArrBase* CDenpyoDlg::TaskDeck() const { return theApp().DenpyoDeck(); }

namespace {
int positionCount(const CArrBase& deck) { return deck.ShowOrder() ? deck.ShowOrder()->size() : deck.GetSize(); }
} // namespace

// ---------------------------------------------------------------- opening

bool CDenpyoDlg::OpenTrial() {
    CWaitCursor wait;
    m_deck = TaskDeck();
    if (!m_deck)
        IC_THROW(QStringLiteral("作業用のデータが読み込まれていません。"));
    m_placement = Env().ImagePosition();
    m_enlarged = Env().enlarge_flg != 0;
    setUpScreen();

    Deck().ResetTrial();
    m_position = 0;
    // A screen without a card could neither go on nor end the trial: refused
    // before anything of the trial is written.
    if (positionCount(Deck()) == 0) {
        AppMessageBox(TaskScreens::NoCardsText(), MsgIcon::Exclamation);
        setResult(Rejected);
        return false;
    }

    m_openedAt = m_lastReport = appClock().now();
    m_historyNo = Env().CreateHistoryRow(*m_userDb, m_openedAt);
    if (m_historyNo == 0) {
        setResult(Rejected);
        return false;
    }
    try {
        m_log->Open(*m_userDb, TaskCode(), m_openedAt, Env().user_code);
        m_log->WriteLine(CInputLog::HeaderLine(TaskCode(), Env().course_code));
        m_kaiseki.Open(*m_userDb, *m_masterDb, CKaisekiFile::TrialConditions::Of(Env()), TaskCode(),
                       m_openedAt, Env().user_code);
    } catch (const CICException& e) {
        abandonTrial(e.GetErrorMessage());
        return false;
    }

    m_message->hide();
    if (parentWidget())
        parentWidget()->hide();

    showCard(0);

    const bool progressShown = Env().progress_flg || Env().timer_flg;
    m_progressBox->setVisible(progressShown);
    m_progress->setVisible(progressShown);
    if (!Env().progress_flg)
        m_progressBox->setTitle(QString());
    updateProgress(m_position);

    const bool dialCourse = Env().course_code == 1 || Env().course_code == 3;
    m_countTimer->setVisible(Env().remainder_flg && dialCourse);
    m_countTimer->SetTotal(static_cast<int>(Env().TimeLimitMs() / 1000));

    m_ending = false;
    m_tick.start();

    m_check->setVisible(Env().course_code == 2 && Env().error_feedback_flg);
    m_fix->hide();
    m_uncheck->hide();

    qApp->installEventFilter(this);
    m_focusPending = DeferredFocus();
    m_opened = true;
    return true;
}

// A trial without a record must not run: the history row already written is
// completed as a trial ended at once, and the screen closes.
void CDenpyoDlg::abandonTrial(const QString& reason) {
    m_log->Close();
    m_kaiseki.Close();
    AppMessageBox(reason, MsgIcon::Stop);
    CArrKaisekiMain_ShikouKai nothing;
    Env().CompleteHistoryRow(*m_userDb, m_historyNo, nothing, 1, QString());
    if (parentWidget())
        parentWidget()->show();
    setResult(Rejected);
}

void CDenpyoDlg::setUpScreen() {
    ScreenSetup::SetUpScreen(this, ProgramIcon(), true);

    m_header = new CBannerPicture(Labels::Problem(TaskCode()), this);

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("imagePanel"));
    m_panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_image = new CKCPrintImage(m_panel);
    m_image->setObjectName(QStringLiteral("cardImage"));
    m_panel->setVisible(m_placement != 0);

    m_noCaption = new QLabel(QStringLiteral("NO."), this);
    m_noValue = new QLabel(this);
    m_noValue->setObjectName(QStringLiteral("cardNo"));
    QFont noFont = m_noValue->font();
    noFont.setFamily(kFieldFace);
    noFont.setPointSize(12);
    m_noCaption->setFont(noFont);
    m_noValue->setFont(noFont);

    CreateItems();
    for (CIKCRitchEditCtrl* field : m_fields)
        field->SetFont(kFieldFontTenths, kFieldFace);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("message"));

    m_next = AddButton(QStringLiteral("次へ(&N)"), QStringLiteral("next"));
    m_abort = AddButton(QStringLiteral("中止(&C)"), QStringLiteral("abort"));
    m_check = AddButton(QStringLiteral("チェック(&A)"), QStringLiteral("check"));
    m_fix = AddButton(QStringLiteral("修正(&S)"), QStringLiteral("fix"));
    m_uncheck = AddButton(QStringLiteral("チェック解除(&D)"), QStringLiteral("uncheck"));
    m_print = AddButton(QStringLiteral("印刷"), QStringLiteral("print"));
    m_print->hide();
    connect(m_next, &QPushButton::clicked, this, [this] { Guarded([this] { onNext(); }); });
    connect(m_abort, &QPushButton::clicked, this, [this] { Guarded([this] { onAbort(); }); });
    connect(m_check, &QPushButton::clicked, this, [this] { Guarded([this] { onCheck(); }); });

    m_progressBox = new QGroupBox(QStringLiteral("進捗状況"), this);
    m_progressBox->setObjectName(QStringLiteral("progressBox"));
    m_progress = new CKCStaticShintyoku(m_progressBox);
    m_progress->setObjectName(QStringLiteral("progressText"));
    m_countTimer = new CCountTimer(this);
    m_countTimer->setObjectName(QStringLiteral("countTimer"));

    // Tab order: the items, 次へ, チェック (when shown), 中止.
    setTabOrder(m_next, m_check);
    setTabOrder(m_check, m_abort);

    // The controls are placed by their sizes once: the fonts must be final first.
    ScreenFit::FitFonts(this);
    layOut();
}

CICStatic* CDenpyoDlg::AddItemLabel(const QString& text) {
    auto* label = new CICStatic(this);
    label->Attach(kFieldFace);
    label->setText(text);
    QFont f = label->font();
    f.setPointSize(11);
    label->setFont(f);
    m_labels.push_back(label);
    return label;
}

CIKCRitchEditCtrl* CDenpyoDlg::AddField(const QString& objectName) {
    auto* field = new CIKCRitchEditCtrl(this);
    field->setObjectName(objectName);
    m_fields.push_back(field);
    return field;
}

QPushButton* CDenpyoDlg::AddButton(const QString& text, const QString& objectName) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

void CDenpyoDlg::CreateItems() {
    const QStringList captions = {QStringLiteral("顧客コード(&1)"), QStringLiteral("商品コード(&2)"),
                                  QStringLiteral("電話番号(&3)"), QStringLiteral("メールアドレス(&4)")};
    const QStringList names = {QStringLiteral("customerCode"), QStringLiteral("productCode"),
                               QStringLiteral("telephone"), QStringLiteral("mailAddress")};
    for (int i = 0; i < captions.size(); ++i) {
        AddItemLabel(captions[i])->setObjectName(names[i] + QStringLiteral("Label"));
        AddField(names[i]);
    }
}

QWidget* CDenpyoDlg::ItemFocusTarget(int item) const { return item < m_fields.size() ? m_fields[item] : nullptr; }

// ---------------------------------------------------------------- layout

QSize CDenpyoDlg::ImageSize(bool enlarged) const { return enlarged ? QSize(644, 435) : QSize(537, 363); }
int CDenpyoDlg::PanelWidth(bool enlarged) const { return enlarged ? 600 : 550; }
// The card keeps its pixel size on larger scales, and shrinks with the screen
// where the screen had to be reduced to fit.
double CDenpyoDlg::ImageShrink() const { return std::min(1.0, ScreenFit::Scale(this).height()); }
QSize CDenpyoDlg::ShownImageSize() const { return ImageSize(m_enlarged) * ImageShrink(); }
QPoint CDenpyoDlg::InputShift(int placement) const {
    switch (placement) {
    case 1:
        return {390, 60};
    case 2:
        return {-160, 60};
    default:
        return {0, 0};
    }
}
QPoint CDenpyoDlg::BaseOrigin() const { return {220, kHeaderHeight + 90}; }

// Positions are chosen for 96 dpi and scaled with the screen once; later size
// changes do not move the controls.
void CDenpyoDlg::layOut() {
    const int width = size().width();
    const int height = size().height();
    const auto sx = [this](int v) { return ScreenSetup::ScaleX(this, v); };
    const auto sy = [this](int v) { return ScreenSetup::ScaleY(this, v); };

    m_header->setGeometry(0, 0, width, sy(kHeaderHeight));

    // The input area: the window below the header, less the image panel.
    QRect area(0, sy(kHeaderHeight), width, height - sy(kHeaderHeight));
    // An enlarged card is a little wider than its strip: centred, it loses only
    // the blank outer margin of the page on either side.
    const QSize imageSize = ShownImageSize();
    const int panelWidth = sx(PanelWidth(m_enlarged));
    if (m_placement == 1) {
        m_panel->setGeometry(0, area.top(), panelWidth, area.height());
        area.setLeft(panelWidth);
    } else if (m_placement == 2) {
        m_panel->setGeometry(width - panelWidth, area.top(), panelWidth, area.height());
        area.setRight(width - panelWidth - 1);
    }
    m_image->setFixedSize(imageSize);
    m_image->move((m_panel->width() - imageSize.width()) / 2, (m_panel->height() - imageSize.height()) / 2);

    // Progress box at the right of the input area, the dial to its right.
    const QSize dial(sx(64), sy(64));
    const QSize box(sx(240), sy(100));
    const int boxLeft = area.right() - sx(10) - dial.width() - sx(5) - box.width();
    m_progressBox->setGeometry(boxLeft, area.top() + sy(5), box.width(), box.height());
    // The text inside the frame, below the title: the style decides the room
    // a title takes, more of it at larger font sizes.
    m_progress->setGeometry(m_progressBox->contentsRect().adjusted(sx(6), sy(5), -sx(6), -sy(2)));
    m_progress->Prepare();
    const bool progressShown = Env().progress_flg || Env().timer_flg;
    m_countTimer->setGeometry(m_progressBox->geometry().right() + sx(5),
                              progressShown ? m_progressBox->y() + sy(5) : area.top() + sy(10), dial.width(),
                              dial.height());
    // The corner the two may take, with a margin: the dial can be shown with
    // Ctrl+T whenever the course has one.
    m_reserved = QRect();
    if (progressShown)
        m_reserved = m_progressBox->geometry();
    if (Env().course_code == 1 || Env().course_code == 3)
        m_reserved = m_reserved.united(m_countTimer->geometry());
    if (!m_reserved.isNull())
        m_reserved.adjust(-sx(10), 0, 0, sy(10));

    // Item controls from the base origin, shifted for the image placement,
    // kept clear of the progress corner.
    QPoint origin = BaseOrigin() + InputShift(m_placement);
    // An enlarged card on the right takes its extra width from the margin
    // before the labels, as it does beside them on the left: the fields keep
    // room for the longest values.
    if (m_placement == 2 && m_enlarged)
        origin.rx() -= PanelWidth(true) - PanelWidth(false);
    const int x = sx(origin.x());
    const int fieldX = x + sx(FieldOffset());
    const int fieldRight = area.right() - sx(10);
    int y = ClearOfProgress(QRect(x, sy(origin.y()), fieldX + sx(120) - x, sy(kFieldHeight)));
    m_noCaption->setGeometry(x, y, sx(60), sy(kFieldHeight));
    m_noValue->setGeometry(fieldX, y, sx(120), sy(kFieldHeight));
    y = LayoutItems(x, ClearOfProgress(QRect(x, y + sy(kRowPitch), fieldRight - x, sy(kFieldHeight))), fieldRight);
    m_message->setGeometry(x, y, fieldRight - x, sy(24));

    const QSize button(sx(120), sy(36));
    m_abort->resize(button);
    ScreenSetup::PlaceBottomRight(m_abort, area, sx(20));
    // 次へ below the items; where the form reaches down to the bottom row, in
    // that row beside 中止.
    QRect next(QPoint(fieldRight - button.width(), y + sy(4)), button);
    if (next.bottom() + sy(10) >= m_abort->y())
        next.moveTopLeft(QPoint(m_abort->x() - sx(10) - button.width(), m_abort->y()));
    m_next->setGeometry(next);

    int left = m_placement == 1 ? area.left() + sx(10) : sx(10);
    for (QPushButton* b : {m_check, m_uncheck, m_print}) {
        b->setGeometry(left, m_abort->y(), button.width(), button.height());
        left += button.width() + sx(4);
    }
}

int CDenpyoDlg::ClearOfProgress(const QRect& row) const {
    return row.intersects(m_reserved) ? m_reserved.bottom() + 1 : row.top();
}

int CDenpyoDlg::LayoutItems(int x, int y, int fieldRight) {
    const int fieldX = x + ScreenSetup::ScaleX(this, FieldOffset());
    const int h = ScreenSetup::ScaleY(this, kFieldHeight);
    for (int i = 0; i < m_fields.size(); ++i) {
        m_labels[i]->setGeometry(x, y, fieldX - x - 4, h);
        PlaceField(m_fields[i], fieldX, y, fieldRight - fieldX, h);
        y += ScreenSetup::ScaleY(this, kRowPitch);
    }
    return y;
}

// One line of text in the field's own height, centred in its row.
void CDenpyoDlg::PlaceField(CIKCRitchEditCtrl* field, int x, int rowTop, int width, int rowHeight) {
    const int height = std::min(field->sizeHint().height(), rowHeight);
    field->setGeometry(x, rowTop + (rowHeight - height) / 2, width, height);
}

// ---------------------------------------------------------------- cards

int CDenpyoDlg::CurrentDeckIndex() const { return Deck().CardAtPosition(m_position); }


void CDenpyoDlg::showCard(int position) {
    if (position >= positionCount(Deck()))
        return;
    m_noValue->clear();
    ClearItems();

    const int index = Deck().CardAtPosition(position);
    Deck().MarkShown(index);
    const CArrBaseInfo& card = Deck().at(index);
    m_noValue->setText(QString::asprintf("%04d", card.number));

    const bool answers = AppSub::GetCorvanePass() == 1;
    if (m_placement != 0)
        m_image->SetCard(Deck(), index, ShownImageSize(), CKCPrintImageDraw::kTemplateIds,
                         CKCPrintImageDraw::kValueCorrect, ImageComparison(answers), m_enlarged, ImageShrink());
    ShowItems(card, answers);
    FocusFirstItem();
    EnableItems();
    ResetLabelColours();
}

int CDenpyoDlg::ImageComparison(bool) const { return CKCPrintImageDraw::kCompareNone; }

void CDenpyoDlg::ClearItems() {
    for (CIKCRitchEditCtrl* field : m_fields)
        field->SetText(QString());
}

void CDenpyoDlg::ShowItems(const CArrBaseInfo& card, bool answers) {
    for (int i = 0; i < m_fields.size(); ++i)
        m_fields[i]->SetText(answers ? card.correct[i] : card.erroneous[i]);
}

void CDenpyoDlg::StoreItems(CArrBaseInfo& card) {
    for (int i = 0; i < m_fields.size(); ++i)
        card.input[i] = m_fields[i]->Text();
}

bool CDenpyoDlg::ItemRight(int deckIndex, int item) const { return Deck().ItemCorrect(deckIndex, item); }

void CDenpyoDlg::EnableItems() {
    for (CIKCRitchEditCtrl* field : m_fields) {
        field->setEnabled(true);
        field->selectAll();
        field->ClearMarks();
        field->SetCaret(0);
    }
    for (CIKCRitchEditCtrl* field : m_fields)
        field->EmptyUndoBuffer();
}

void CDenpyoDlg::DisableItems() {
    for (CIKCRitchEditCtrl* field : m_fields) {
        field->setEnabled(false);
        field->EmptyUndoBuffer();
    }
}

void CDenpyoDlg::FocusFirstItem() {
    if (!m_fields.isEmpty()) {
        m_fields.first()->setFocus();
        m_fields.first()->SetCaret(0);
    }
}

void CDenpyoDlg::ResetLabelColours() {
    for (CICStatic* label : m_labels)
        label->ResetColours();
}

void CDenpyoDlg::reportCard(int cardsDone) {
    const QDateTime now = appClock().now();
    const int left = static_cast<int>(std::max<qint64>(remainingSeconds(), 0));
    const int took = static_cast<int>(m_lastReport.secsTo(now));
    m_lastReport = now;
    // Written once the next card is up: a write that meets a busy disk never
    // stands between the trainee and the next card.
    QTimer::singleShot(0, this, [this, cardsDone, left, took, now] {
        LiveTrials::ReportCard(*m_userDb, m_historyNo, cardsDone, left, took, now);
    });
}

void CDenpyoDlg::saveCard(int position, bool log) {
    const int index = Deck().CardAtPosition(position);
    Deck().MarkFinished(index);
    StoreItems(Deck().at(index));
    if (log)
        m_log->WriteLine(CInputLog::CardLine(Deck(), index, Env().course_code));
}

// ---------------------------------------------------------------- buttons

void CDenpyoDlg::onNext() {
    if (m_closing)
        return;
    CWaitCursor wait;
    if (!m_finished) {
        saveCard(m_position, true);
        reportCard(m_position + 1);
    }
    if (m_position + 1 < positionCount(Deck())) {
        if (Env().sound_flg && Env().course_code != 1)
            PlayWave(Wave::NextCard);
        ++m_position;
        showCard(m_position);
        updateProgress(m_position);
    } else {
        updateProgress(m_position + 1);
        m_finished = true;
        onAbort();
    }
}

void CDenpyoDlg::onAbort() {
    // Once closing has begun (its messages may still be up) there is nothing to end.
    if (m_closing)
        return;
    m_ending = true;
    const bool yes =
        AppMessageBox(Zentry01Strings::ConfirmEnd, MsgIcon::Exclamation, MsgButtons::YesNoDefaultNo);
    m_ending = false;
    if (yes)
        closeTrial(1);
}

void CDenpyoDlg::onCheck() {
    if (m_closing || !m_check->isVisible() || !m_check->isEnabled())
        return;
    const int index = CurrentDeckIndex();
    ++Deck().at(index).errorChecks;
    saveCard(m_position, false);

    QVector<bool> right(m_labels.size());
    bool cardRight = true;
    for (int i = 0; i < right.size(); ++i) {
        right[i] = ItemRight(index, i);
        cardRight = cardRight && right[i];
    }
    QWidget* focused = QApplication::focusWidget();
    {
        CResult2Dlg feedback(cardRight, Env(), this);
        feedback.exec();
    }
    if (m_closing)
        return; // the time ran out while the feedback was up
    // The keyboard comes back to this screen, where the trainee left it.
    activateWindow();
    if (focused)
        focused->setFocus();
    DisableItems();
    EnableItems();
    for (int i = 0; i < right.size(); ++i) {
        if (right[i])
            m_labels[i]->ResetColours();
        else
            m_labels[i]->SetColours(QColor(255, 0, 0), palette().color(QPalette::Button));
    }
    update();
}

// ---------------------------------------------------------------- time

qint64 CDenpyoDlg::remainingSeconds() const {
    const qint64 limitMs = Env().TimeLimitMs();
    const QDateTime start = Deck().TrialStart();
    if (!start.isValid())
        return limitMs / 1000;
    const QDateTime end =
        DateUtil::AddSpan(start, DateUtil::SpanFromParts(0, 0, limitMs / 60000, (limitMs / 1000) % 60));
    return DateUtil::ElapsedSeconds(appClock().now(), end);
}

bool CDenpyoDlg::timeIsUp() const {
    if (!Deck().TrialStart().isValid())
        return false;
    const qint64 limitMs = Env().TimeLimitMs();
    const QDateTime end = DateUtil::AddSpan(Deck().TrialStart(),
                                            DateUtil::SpanFromParts(0, 0, limitMs / 60000, (limitMs / 1000) % 60));
    return appClock().now() >= end;
}

void CDenpyoDlg::updateProgress(int done) {
    const int remaining = static_cast<int>(remainingSeconds());
    m_countTimer->SetRemaining(remaining);
    const CExecEnv& env = Env();
    if (const auto text = CKCStaticShintyoku::ProgressText(env.course_code, env.progress_flg, env.timer_flg,
                                                           env.target_value, env.target_value2, done, remaining))
        m_progress->SetText(*text);
}

void CDenpyoDlg::onTick() {
    m_tick.stop();
    updateProgress(m_position);
    if (!timeIsUp() || m_ending) {
        m_tick.start();
        return;
    }
    // A window open over the screen (the check feedback, the postal list, a
    // message) is closed first: the trial ends on the task screen, and the
    // trainee is not left in a window that belongs to a finished trial.
    for (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this;) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
        QWidget* next = QApplication::activeModalWidget();
        if (next == modal)
            break;
        modal = next;
    }
    closeTrial(0);
}

// ---------------------------------------------------------------- closing

void CDenpyoDlg::closeTrial(int endFlag) {
    if (m_closing || m_ending)
        return;
    m_closing = m_ending = true;
    CWaitCursor wait;
    m_tick.stop();
    qApp->removeEventFilter(this);

    m_log->Close();
    try {
        m_kaiseki.WriteResult(Deck(), m_historyNo);
    } catch (const CICException& e) {
        // The history row is still completed from the analysis.
        ShowException(e);
    }
    m_kaiseki.Close();

    // Through the last card or to the time limit is a finished trial; ended
    // by the trainee before that, an aborted one.
    const auto liveState = endFlag == 0 || m_finished ? LiveTrials::State::Finished : LiveTrials::State::Aborted;
    if (const CArrKaisekiMain_ShikouKai* totals = m_kaiseki.FirstResult())
        Env().CompleteHistoryRow(*m_userDb, m_historyNo, *totals, endFlag, Deck().WorkingTime(), liveState,
                                 static_cast<int>(std::max<qint64>(remainingSeconds(), 0)));

    if (!m_finished)
        Env().StoreNextStartNumber(*m_userDb, Deck().at(CurrentDeckIndex()).number);
    else if (const int number = StartNumberAfterWholeDeck())
        Env().StoreNextStartNumber(*m_userDb, number);

    if (Env().course_code == 1 && parentWidget())
        parentWidget()->show();
    done(kTrialClosed);
}

// ---------------------------------------------------------------- keys and focus

void CDenpyoDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_focusPending) {
        m_focusPending = false;
        QTimer::singleShot(0, this, [this] { Guarded([this] { FocusFirstItem(); }); });
    }
}

bool CDenpyoDlg::TaskKey(QKeyEvent*) { return false; }

bool CDenpyoDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !m_opened || m_ending)
        return QDialog::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    bool used = false;
    Guarded([&] {
        const int digit = key->key() - Qt::Key_1;
        if (key->key() == Qt::Key_T && key->modifiers() == Qt::ControlModifier) {
            if (Env().course_code == 1 || Env().course_code == 3)
                m_countTimer->setVisible(!m_countTimer->isVisible());
            used = true;
        } else if (key->modifiers() == Qt::AltModifier && digit >= 0 && digit < m_labels.size()) {
            // The item labels' mnemonics only move to their item: a label
            // buddy would click a radio button or check box and change the answer.
            if (QWidget* target = ItemFocusTarget(digit); target && target->isEnabled())
                target->setFocus(Qt::ShortcutFocusReason);
            used = true;
        } else {
            used = TaskKey(key);
        }
    });
    return used || QDialog::eventFilter(watched, event);
}

void CDenpyoDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
