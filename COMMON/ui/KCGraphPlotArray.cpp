#include "KCGraphPlotArray.h"

#include "ArrKaisekiMain.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

CKCGraphData CKCGraphData::From(const CArrKaisekiMain& run) {
    CKCGraphData data;
    for (const auto& trial : run.Trials())
        data.Add(*trial);
    const CArrKaisekiMain::Conditions& c = run.GetConditions();
    data.problemCode = c.problemCode;
    data.userCode = c.userCode;
    data.selectionType = c.selectionType;
    data.courseFilter = c.courseFilter;
    return data;
}

void CKCGraphData::Add(const CArrKaisekiMain_ShikouKai& t) {
    Trial trial;
    trial.trialNo = t.m_trialNo;
    trial.course = t.courseCode();
    trial.values = {double(t.m_answer_number), double(t.m_correct_number), t.m_correct_rate_koumoku};
    trial.values60 = {t.m_answer_number60, t.m_correct_number60, t.m_correct_rate_koumoku60};
    trial.conditionMarks = ConditionMarks(t);
    trials.push_back(trial);
}

QString CKCGraphData::ConditionMarks(const CArrKaisekiMain_ShikouKai& trial) {
    QString marks;
    if (trial.m_graph_flg == QLatin1String("1"))
        marks += QStringLiteral("グ");
    const int result = trial.m_result_code.toInt();
    if (result >= 1 && result <= 3)
        marks += QStringList{QStringLiteral("音"), QStringLiteral("○"), QStringLiteral("色")}[result - 1];
    if (trial.m_timer_flg == QLatin1String("1"))
        marks += QStringLiteral("タ");
    if (trial.m_remainder_flg == QLatin1String("1"))
        marks += QStringLiteral("円");
    return marks;
}

const std::array<double, 3>& CKCGraphData::valuesOf(const Trial& trial) const {
    return selectionType == CArrKaisekiMain::SelectCompleted ? trial.values60 : trial.values;
}

int CKCGraphPlotArray::RoundCountMax(double largest) {
    if (largest > 100)
        return int(std::ceil(largest / 100)) * 100;
    if (largest > 50)
        return 100;
    if (largest > 20)
        return 50;
    if (largest > 10)
        return 20;
    if (largest > 0)
        return 10;
    return 100;
}

void CKCGraphPlotArray::Build(const CKCGraphData& data, const QRectF& plot, double columnWidth) {
    m_points.clear();
    m_plot = plot;
    m_columnWidth = columnWidth;

    double largest = 0;
    for (const CKCGraphData::Trial& trial : data.trials) {
        const auto& v = data.valuesOf(trial);
        largest = std::max({largest, v[kWorkCount], v[kCorrectCount]});
    }
    m_countMax = RoundCountMax(largest);

    const double height = plot.height();
    std::array<double, 3> rateSum{};
    std::array<int, 3> trialsOfCourse{};
    for (size_t i = 0; i < data.trials.size(); ++i) {
        const CKCGraphData::Trial& trial = data.trials[i];
        const auto& v = data.valuesOf(trial);
        Point p;
        p.trial = &trial;
        p.x = columnWidth * double(i) + columnWidth / 2;
        p.y[kWorkCount] = int(v[kWorkCount] * height / m_countMax);
        p.y[kCorrectCount] = int(v[kCorrectCount] * height / m_countMax);
        p.y[kItemRate] = int(v[kItemRate] * height / kRateMax);
        p.course = trial.course;
        if (p.course >= 1 && p.course <= 3) {
            rateSum[p.course - 1] += v[kItemRate];
            ++trialsOfCourse[p.course - 1];
        }
        m_points.push_back(p);
    }
    for (int c = 0; c < 3; ++c) {
        m_average[c] = trialsOfCourse[c] ? rateSum[c] / trialsOfCourse[c] : 0;
        m_averageY[c] = int(m_average[c] * height / kRateMax);
    }
}
