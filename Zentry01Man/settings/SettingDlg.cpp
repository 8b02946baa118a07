#include "SettingDlg.h"

#include "AppSub.h"
#include "ArrDenpyo.h"
#include "Guarded.h"
#include "InputMethodSettings.h"
#include "NumberSpinField.h"
#include "OkCancelButtons.h"
#include "ScreenFit.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "UserSelectDlg.h"
#include "UtilityResources.h"
#include "Zentry01ManApp.h"
#include "Zentry01ManStrings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
// The number at the start of the text as a C program reads it: blanks, a sign,
// digits; anything else counts as 0.
int leadingNumber(const QString& text) {
    const QString t = text.trimmed();
    qsizetype end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+')))
        ++end;
    while (end < t.size() && t[end] >= QLatin1Char('0') && t[end] <= QLatin1Char('9'))
        ++end;
    bool ok = false;
    const int value = t.left(end).toInt(&ok);
    return ok ? value : 0;
}

QCheckBox* checkBox(QWidget* parent, const QString& text, const char* name) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QPushButton* button(QWidget* parent, const QString& text, const char* name) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}
} // namespace

CSettingDlg::CSettingDlg(CZentry01ManApp& app, QWidget* parent) : QDialog(parent), m_app(app) {
    setObjectName(QStringLiteral("settingScreen"));
    setWindowTitle(QStringLiteral("試行条件の設定"));
    setWindowIcon(UtilityIcon());
    ScreenFit::KeepFitted(this);

    auto* orderBox = new QGroupBox(QStringLiteral("呈示方法"), this);
    m_order = radioPair(orderBox, QStringLiteral("番号順(&B)"), "numberOrderRadio", QStringLiteral("シャッフル(&S)"),
                        "shuffleRadio");
    m_startBox = new QGroupBox(QStringLiteral("開始NO.設定"), this);
    m_start = radioPair(m_startBox, QStringLiteral("前回の続き(&E)"), "continueRadio", QStringLiteral("開始NO.指定(&N)"),
                        "specifiedRadio");
    m_startNo = new CNumberSpinField(m_startBox);
    m_startNo->setObjectName(QStringLiteral("startNoField"));
    m_startNo->setMinimumWidth(ScreenSetup::ScaleX(this, 80));
    static_cast<QHBoxLayout*>(m_startBox->layout())->insertWidget(2, m_startNo);

    m_display = checkBox(this, QStringLiteral("アンケートカード・顧客伝票の印刷物イメージを画面に表示する(&P)"),
                         "displayCheck");
    auto* positionBox = new QGroupBox(QStringLiteral("表示位置"), this);
    m_position = radioPair(positionBox, QStringLiteral("左(&L)"), "leftRadio", QStringLiteral("右(&R)"), "rightRadio");
    m_zip = checkBox(this, QStringLiteral("郵便番号検索を有効にする(&Z)"), "zipCheck");
    m_sound = checkBox(this, QStringLiteral("画面切り替え音(&O)"), "soundCheck");

    auto* imeBox = new QGroupBox(QStringLiteral("かな漢字変換の切り替え"), this);
    auto* imeRow = new QHBoxLayout(imeBox);
    QPushButton* ime = button(imeBox, QStringLiteral("日本語入力設定(&K)..."), "imeButton");
    imeRow->addWidget(ime);
    imeRow->addWidget(new QLabel(QStringLiteral("コントロールパネル から該当のプロパティを表示します。"), imeBox), 1);
    QPushButton* history = button(this, QStringLiteral("試行履歴参照(&H)..."), "historyButton");

    QDialogButtonBox* buttons = OkCancelButtons(this, [this] { ok(); });

    auto* column = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(orderBox);
    top->addWidget(m_startBox, 1);
    column->addLayout(top);
    column->addWidget(m_display);
    auto* imageRow = new QHBoxLayout;
    imageRow->addSpacing(ScreenSetup::ScaleX(this, 20));
    imageRow->addWidget(positionBox);
    imageRow->addStretch(1);
    column->addLayout(imageRow);
    column->addWidget(m_zip);
    column->addWidget(m_sound);
    column->addWidget(imeBox);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(history);
    bottom->addStretch(1);
    bottom->addWidget(buttons);
    column->addLayout(bottom);

    for (QButtonGroup* g : {m_order, m_start, m_position})
        connect(g, &QButtonGroup::idClicked, this, &CSettingDlg::applyRules);
    for (QCheckBox* c : {m_display, m_zip, m_sound})
        connect(c, &QCheckBox::clicked, this, &CSettingDlg::applyRules);
    connect(ime, &QPushButton::clicked, this, [] { Guarded([] { CInputMethodSettings::Open(); }); });
    connect(history, &QPushButton::clicked, this, [this] {
        Guarded([this] {
            CUserSelectDlg select(m_app.UserDb(), QStringLiteral("解析結果の出力 [ユーザー名選択]"),
                                  CUserSelectDlg::HistoryReference, this);
            select.exec();
        });
    });

    Guarded([this] {
        const CArrBase& deck = m_app.LoadDeck(1, 1);
        if (deck.GetSize() > 0) {
            m_low = deck.at(0).number;
            m_high = deck.at(deck.GetSize() - 1).number;
        }
    });
    m_startNo->setRange(m_low, m_high);
    load();
    applyRules();
}

CSettingDlg::~CSettingDlg() { m_app.DiscardDeck(); }

QButtonGroup* CSettingDlg::radioPair(QGroupBox* box, const QString& first, const char* firstName,
                                     const QString& second, const char* secondName) {
    auto* row = new QHBoxLayout(box);
    auto* group = new QButtonGroup(box);
    int id = 1;
    for (auto [text, name] : {std::pair{first, firstName}, std::pair{second, secondName}}) {
        auto* radio = new QRadioButton(text, box);
        radio->setObjectName(QLatin1String(name));
        group->addButton(radio, id++);
        row->addWidget(radio);
    }
    return group;
}

void CSettingDlg::load() {
    // A stored value outside the pair leaves both radios clear.
    auto setRadio = [](QButtonGroup* group, int value) {
        if (QAbstractButton* b = group->button(value))
            b->setChecked(true);
    };
    setRadio(m_order, AppSub::GetProfileInt(QStringLiteral("order_flg"), 1));
    setRadio(m_start, AppSub::GetProfileInt(QStringLiteral("start_flg"), 1));
    m_startNo->setFieldText(AppSub::GetProfileString(QStringLiteral("specifie_start_no"), QStringLiteral("1")));
    m_display->setChecked(AppSub::GetProfileInt(QStringLiteral("display_flg"), 0) != 0);
    setRadio(m_position, AppSub::GetProfileInt(QStringLiteral("display_position"), 1));
    m_zip->setChecked(AppSub::GetProfileInt(QStringLiteral("zip_flg"), 1) != 0);
    m_sound->setChecked(AppSub::GetProfileInt(QStringLiteral("sound_flg"), 1) != 0);
}

void CSettingDlg::applyRules() {
    const bool numberOrder = m_order->checkedId() == 1;
    const bool shuffle = m_order->checkedId() == 2;
    for (QAbstractButton* b : m_start->buttons())
        b->setEnabled(numberOrder);
    m_startNo->setEnabled(numberOrder && m_start->checkedId() == 2);
    if (shuffle)
        m_display->setChecked(true);
    m_display->setEnabled(!shuffle);
    for (QAbstractButton* b : m_position->buttons())
        b->setEnabled(m_display->isChecked());
}

void CSettingDlg::ok() {
    if (m_startNo->isEnabled()) {
        const int number = leadingNumber(m_startNo->fieldText());
        if (number < m_low || number > m_high) {
            AppMessageBox(Zentry01ManStrings::StartNumberOutOfRange, QString::number(m_low), QString::number(m_high));
            m_startNo->setFocus();
            return;
        }
    }
    if (!AppMessageBox(Zentry01ManStrings::ConfirmSettings, MsgIcon::Exclamation, MsgButtons::YesNo))
        return;
    save();
    accept();
}

void CSettingDlg::save() {
    // A radio pair with neither chosen is written as 0, as it was read.
    auto radioValue = [](const QButtonGroup* group) { return std::max(0, group->checkedId()); };
    AppSub::WriteProfileInt(QStringLiteral("order_flg"), radioValue(m_order));
    AppSub::WriteProfileInt(QStringLiteral("start_flg"), radioValue(m_start));
    AppSub::WriteProfileString(QStringLiteral("specifie_start_no"), m_startNo->fieldText());
    AppSub::WriteProfileInt(QStringLiteral("display_flg"), m_display->isChecked() ? 1 : 0);
    AppSub::WriteProfileInt(QStringLiteral("display_position"), radioValue(m_position));
    AppSub::WriteProfileInt(QStringLiteral("zip_flg"), m_zip->isChecked() ? 1 : 0);
    AppSub::WriteProfileInt(QStringLiteral("sound_flg"), m_sound->isChecked() ? 1 : 0);
}
