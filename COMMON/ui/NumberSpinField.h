#pragma once
// A number field with its spin button. The field keeps exactly what was typed
// (the screen checks it on "次へ"); the arrows step the number within the range.
#include <QAbstractSpinBox>

class CNumberSpinField : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit CNumberSpinField(QWidget* parent = nullptr);

    void setRange(int low, int high);
    int low() const { return m_low; }
    int high() const { return m_high; }

    // The text as typed.
    QString fieldText() const;
    void setFieldText(const QString& text);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

protected:
    StepEnabled stepEnabled() const override;

private:
    // The typed number, or nothing when the text is not plain digits.
    bool currentValue(int& value) const;

    int m_low = 0;
    int m_high = 0;
};
