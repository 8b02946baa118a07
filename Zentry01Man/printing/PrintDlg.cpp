#include "PrintDlg.h"

#include "HandwrittenForms.h"
#include "NumberSpinField.h"
#include "OkCancelButtons.h"
#include "PrintingDlg.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "TextUtil.h"
#include "UtilityResources.h"
#include "WaitCursor.h"
#include "Zentry01ManApp.h"
#include "Zentry01ManStrings.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
enum { kTypedCards = 1, kTypedVouchers = 2, kHandCards = 3, kHandVouchers = 4 };

QGroupBox* radioGroup(QWidget* parent, const QString& title, QButtonGroup* group,
                      std::initializer_list<std::pair<const char*, QString>> choices) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    int id = 1;
    for (const auto& [name, text] : choices) {
        auto* r = new QRadioButton(text, box);
        r->setObjectName(QLatin1String(name));
        group->addButton(r, id++);
        layout->addWidget(r);
    }
    group->button(1)->setChecked(true);
    return box;
}
} // namespace

CPrintDlg::CPrintDlg(QWidget* parent) : QDialog(parent) {
    CWaitCursor wait;
    setObjectName(QStringLiteral("printScreen"));
    buildControls();
    ScreenSetup::SetUpScreen(this, UtilityIcon());
    setWindowTitle(QStringLiteral("アンケートカードと顧客伝票の印刷"));
    const CArrBase& deck = theManApp().LoadDeck(1, 1);
    if (!deck.IsEmpty()) {
        m_first = deck.at(0).number;
        m_last = deck.at(deck.GetSize() - 1).number;
    }
    takeChoices();
    applyEnablingRules();
}

void CPrintDlg::buildControls() {
    m_kindGroup = new QButtonGroup(this);
    m_dataGroup = new QButtonGroup(this);
    m_paperGroup = new QButtonGroup(this);
    m_rangeGroup = new QButtonGroup(this);
    auto* kindBox = radioGroup(this, QStringLiteral("印刷物の指定"), m_kindGroup,
                               {{"typedCards", QStringLiteral("活字アンケートカード(&C)")},
                                {"typedVouchers", QStringLiteral("活字顧客伝票(&D)")},
                                {"handCards", QStringLiteral("手書きアンケートカード(&V)")},
                                {"handVouchers", QStringLiteral("手書き顧客伝票(&F)")}});
    auto* dataBox = radioGroup(this, QStringLiteral("データの指定"), m_dataGroup,
                           {{"dataSet1", QStringLiteral("実力テスト・レベルアップトレーニング用データ(&T)")},
                            {"dataSet2", QStringLiteral("基礎トレーニング用データ(&K)")}});
    auto* paperBox = radioGroup(this, QStringLiteral("用紙サイズ"), m_paperGroup,
                                {{"paperA4", QStringLiteral("A4(&L)")}, {"paperPostcard", QStringLiteral("はがき(&H)")}});
    m_rangeBox = radioGroup(this, QStringLiteral("印刷範囲"), m_rangeGroup,
                            {{"rangeAll", QStringLiteral("すべて(&A)")},
                             {"rangeSpecified", QStringLiteral("印刷範囲の指定(&S)")}});
    m_start = new CNumberSpinField(m_rangeBox);
    m_start->setObjectName(QStringLiteral("startField"));
    m_end = new CNumberSpinField(m_rangeBox);
    m_end->setObjectName(QStringLiteral("endField"));
    // Room for a four-digit card number beside the arrows.
    for (CNumberSpinField* f : {m_start, m_end})
        f->setMinimumWidth(f->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 36);
    auto* numbers = new QGridLayout;
    numbers->setContentsMargins(24, 0, 0, 0);
    numbers->addWidget(new QLabel(QStringLiteral("開始No."), m_rangeBox), 0, 0);
    numbers->addWidget(m_start, 0, 1);
    numbers->addWidget(new QLabel(QStringLiteral("終了No."), m_rangeBox), 1, 0);
    numbers->addWidget(m_end, 1, 1);
    numbers->setColumnStretch(2, 1);
    static_cast<QVBoxLayout*>(m_rangeBox->layout())->addLayout(numbers);

    auto* note = new QLabel(QStringLiteral("※手書きアンケートカード、手書き顧客伝票の印刷には、"
                                           "CUPS（lp）またはPDFビューアが必要になります。"),
                            this);
    note->setWordWrap(true);
    QDialogButtonBox* buttons = OkCancelButtons(this, [this] { startPrinting(); });
    buttons->findChild<QPushButton*>(QStringLiteral("okButton"))->setText(QStringLiteral("印刷開始"));

    auto* grid = new QGridLayout;
    grid->addWidget(kindBox, 0, 0);
    grid->addWidget(dataBox, 0, 1);
    grid->addWidget(paperBox, 1, 0);
    grid->addWidget(m_rangeBox, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(16);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addStretch();
    layout->addWidget(buttons);

    for (QButtonGroup* g : {m_kindGroup, m_dataGroup, m_paperGroup, m_rangeGroup})
        connect(g, &QButtonGroup::idClicked, this, [this] {
            takeChoices();
            applyEnablingRules();
        });
}

void CPrintDlg::takeChoices() {
    m_kind = m_kindGroup->checkedId();
    m_dataSet = m_dataGroup->checkedId();
    m_paper = m_paperGroup->checkedId();
    m_specified = m_rangeGroup->checkedId() == 2;
}

int CPrintDlg::numberOf(const CNumberSpinField* field) {
    const QString text = field->fieldText().trimmed();
    return TextUtil::AllDigits(text) && !text.isEmpty() ? text.toInt() : 0;
}

void CPrintDlg::applyEnablingRules() {
    const bool handwritten = m_kind == kHandCards || m_kind == kHandVouchers;
    // A form is printed whole. Its data set stays a choice: the forms of both
    // data sets exist, and the screen shows the one that will print.
    if (handwritten) {
        m_rangeGroup->button(1)->setChecked(true);
        m_specified = false;
    }
    m_rangeBox->setEnabled(!handwritten);
    const bool numbers = !handwritten && m_specified;
    m_start->setEnabled(numbers);
    m_end->setEnabled(numbers);
    if (!numbers)
        return;
    m_start->setRange(m_first, m_last);
    m_end->setRange(m_first, m_last);
    auto outside = [this](int n) { return n < m_first || n > m_last; };
    if (outside(numberOf(m_start)))
        m_start->setFieldText(QString::number(m_first));
    if (outside(numberOf(m_end)))
        m_end->setFieldText(QString::number(m_last));
}

void CPrintDlg::startPrinting() {
    if (m_kind == kHandCards || m_kind == kHandVouchers) {
        HandwrittenForms::Print(this, m_kind, m_dataSet, m_paper);
        return;
    }
    int first = 0, last = 0;
    if (m_specified) {
        first = numberOf(m_start);
        last = numberOf(m_end);
        CNumberSpinField* faulty = nullptr;
        if (first < m_start->low() || first > m_start->high())
            faulty = m_start;
        else if (last < m_end->low() || last > m_end->high())
            faulty = m_end;
        else if (last < first)
            faulty = m_start;
        if (faulty) {
            AppMessageBox(Zentry01ManStrings::PrintRangeError, QString::number(m_start->low()),
                          QString::number(m_start->high()));
            faulty->setFocus();
            return;
        }
    }
    CPrintingDlg printing(m_kind, m_dataSet, m_paper, first, last, this);
    if (printing.exec() == Accepted) {
        // A PDF chosen in the print dialog is where the pages went; the screen
        // closes, so it says where before it does.
        TellWherePdfWent(printing.PdfFile());
        QDialog::accept();
    }
}
