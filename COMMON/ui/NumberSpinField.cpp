#include "NumberSpinField.h"

#include "TextUtil.h"

#include <QLineEdit>

CNumberSpinField::CNumberSpinField(QWidget* parent) : QAbstractSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void CNumberSpinField::setRange(int low, int high) {
    m_low = low;
    m_high = high;
    update();
}

QString CNumberSpinField::fieldText() const { return lineEdit()->text(); }

void CNumberSpinField::setFieldText(const QString& text) { lineEdit()->setText(text); }

bool CNumberSpinField::currentValue(int& value) const {
    const QString text = fieldText().trimmed();
    if (text.isEmpty() || !TextUtil::AllDigits(text))
        return false;
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

void CNumberSpinField::stepBy(int steps) {
    if (m_high < m_low)
        return;
    int value = 0;
    // A field without a plain number starts from the bottom of the range.
    const int next = currentValue(value) ? std::clamp(value + steps, m_low, m_high) : m_low;
    setFieldText(QString::number(next));
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled CNumberSpinField::stepEnabled() const {
    if (m_high < m_low)
        return StepNone;
    int value = 0;
    if (!currentValue(value))
        return StepUpEnabled | StepDownEnabled;
    StepEnabled e = StepNone;
    if (value < m_high)
        e |= StepUpEnabled;
    if (value > m_low)
        e |= StepDownEnabled;
    return e;
}

QValidator::State CNumberSpinField::validate(QString&, int&) const {
    // Anything may be typed; "次へ" says what is wrong with it.
    return QValidator::Acceptable;
}
