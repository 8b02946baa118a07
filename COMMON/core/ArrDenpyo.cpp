#include "ArrDenpyo.h"

#include "AppSub.h"
#include "Clock.h"
#include "Codec.h"
#include "DateUtil.h"
#include "ICException.h"
#include "Recordsets.h"
#include "TCLoadCSVFile.h"

#include <QFileInfo>

#include <stdexcept>
#include <utility>

namespace {
QString charAt(const QStringList& chars, int i) { return i < chars.size() ? chars.at(i) : QString(); }
} // namespace

// ---------------------------------------------------------------- CArrBase

CArrBase::~CArrBase() {
    SetShowOrder(nullptr);
}

void CArrBase::SetShowOrder(IShowOrder* order) {
    IShowOrder* previous = std::exchange(m_order, order);
    if (previous && previous != order)
        previous->DeckReleased(*this);
}

int CArrBase::FindCard(int number) const {
    for (int i = 0; i < GetSize(); ++i)
        if (m_cards[i]->number == number)
            return i;
    return -1;
}

int CArrBase::CardAtPosition(int position) const {
    if (m_order)
        return m_order->DeckIndexAt(position);
    if (position < 0 || position >= GetSize())
        throw std::out_of_range("card position outside the deck");
    return position;
}

void CArrBase::MarkShown(int index) {
    CArrBaseInfo& card = at(index);
    card.shown = appClock().now();
    if (!m_trialStart.isValid())
        m_trialStart = card.shown;
    card.trialStart = m_trialStart;
}

void CArrBase::MarkFinished(int index) {
    at(index).finished = appClock().now();
}

QDateTime CArrBase::FirstTrialStart() const {
    const int positions = m_order ? m_order->size() : GetSize();
    if (IsEmpty() || positions == 0)
        return {};
    return at(CardAtPosition(0)).trialStart;
}

QDateTime CArrBase::LastFinish() const {
    const int positions = m_order ? m_order->size() : GetSize();
    QDateTime last;
    for (int p = 0; p < positions; ++p) {
        const CArrBaseInfo& card = at(CardAtPosition(p));
        if (!card.finished.isValid())
            break;
        last = card.finished;
    }
    return last;
}

QString CArrBase::WorkingTime() const {
    const QDateTime first = FirstTrialStart();
    const QDateTime last = LastFinish();
    if (!first.isValid() || !last.isValid())
        return {};
    qint64 ms = first.msecsTo(last);
    ms += ms < 0 ? -500 : 500;
    // Whole minutes, not wrapped: a trial of exactly an hour reads "60分00秒".
    const qint64 minutes = ms / 60000;
    const qint64 seconds = (ms / 1000) % 60;
    return QString::asprintf("%02lld分%02lld秒", minutes, seconds);
}

bool CArrBase::ItemCorrect(int index, int item) const {
    const CArrBaseInfo& card = at(index);
    return cp932::sameBytes(card.input.at(item), card.correct.at(item));
}

bool CArrBase::CardCorrect(int index) const {
    for (int item = 0; item < CArrBaseInfo::kItems; ++item)
        if (!ItemCorrect(index, item))
            return false;
    return true;
}

bool CArrBase::MissCheckCorrect(const QString& correct, const QString& erroneous, const QString& marks) {
    const QStringList c = cp932::characters(correct);
    const QStringList e = cp932::characters(erroneous);
    const QStringList m = cp932::characters(marks);
    const int length = std::max({c.size(), e.size(), m.size()});
    for (int i = 0; i < length; ++i) {
        const QString expected = cp932::sameBytes(charAt(c, i), charAt(e, i)) ? QStringLiteral("N") : QStringLiteral("C");
        if (i >= m.size() || m.at(i) != expected)
            return false;
    }
    return true;
}

bool CArrBase::MissCheckItemCorrect(int index, int item) const {
    const CArrBaseInfo& card = at(index);
    return MissCheckCorrect(card.correct.at(item), card.erroneous.at(item), card.input.at(item));
}

bool CArrBase::MissCheckCardCorrect(int index) const {
    for (int item = 0; item < CArrBaseInfo::kItems; ++item)
        if (!MissCheckItemCorrect(index, item))
            return false;
    return true;
}

void CArrBase::ResetTrial() {
    for (auto& card : m_cards) {
        card->input.fill(QString());
        card->trialStart = card->shown = card->finished = QDateTime();
        // A new trial starts with no error checks, or the next trial's file
        // would carry the previous trial's counts.
        card->errorChecks = 0;
    }
    m_trialStart = QDateTime();
    m_answered.clear();
}

void CArrBase::Clear() {
    m_cards.clear();
    m_trialStart = QDateTime();
    m_answered.clear();
}

CArrBaseInfo& CArrBase::Append(std::unique_ptr<CArrBaseInfo> card) {
    m_cards.push_back(std::move(card));
    return *m_cards.back();
}

void CArrBase::BeginLoad(CDB& master) {
    Clear();
    m_master = &master;
}

int CArrBase::RestoreFromInputFile(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return 0;
    ResetTrial();
    QDateTime opened;
    if (!AppSub::DateFromFileName(path, opened))
        return 0;
    CTCLoadCSVFile file;
    file.Load(path);
    const int items = ItemCount();
    QDateTime previousFinish = opened;
    for (int row = 2; row <= file.GetRowCount(); ++row) {
        const QStringList fields = file.GetFields(row);
        auto field = [&](int col) { return col <= fields.size() ? fields.at(col - 1) : QString(); };
        const DateUtil::TimeSpan elapsed = DateUtil::ParseMinSec(field(3));
        if (!elapsed.valid)
            return 0;
        const int index = FindCard(field(5).trimmed().toInt());
        if (index < 0)
            continue;
        CArrBaseInfo& card = at(index);
        m_answered.push_back(card.number);
        card.trialStart = opened;
        card.shown = previousFinish;
        card.finished = DateUtil::AddSpan(opened, elapsed);
        // Only the item columns are inputs; the column after them is the
        // error-check count of the basic-training course.
        for (int i = 0; i < CArrBaseInfo::kItems; ++i)
            card.input[i] = i < items ? field(6 + i) : QString();
        card.errorChecks = field(6 + items).trimmed().toInt();
        previousFinish = card.finished;
    }
    return 1;
}

// ---------------------------------------------------------------- loading

void CArrHagaki::Load(CDB& master, int courseCode) {
    BeginLoad(master);
    const QString sql = courseCode == 2 ? QStringLiteral("select * from [Mst03] order by [Mst03].[Col01]")
                                        : QStringLiteral("select * from [Mst01] order by [Mst01].[Col01]");
    CRsMst01 rs(&master);
    rs.Open(CRecordset::dbOpenSnapshot, sql, {}, CRecordset::readOnly);
    for (; !rs.IsEOF(); rs.MoveNext()) {
        auto card = std::make_unique<CArrBaseInfo>();
        card->number = rs.m_Col01;
        for (int i = 0; i < 9; ++i)
            card->correct[i] = rs.m_Col[i];
        card->excluded = rs.m_JogaiFlag == 1;
        Append(std::move(card));
    }
    rs.Close();
}

void CArrDenpyo::Load(CDB& master, int courseCode) {
    BeginLoad(master);
    const bool basic = courseCode == 2;
    {
        CRsMst02 rs(&master);
        rs.Open(CRecordset::dbOpenSnapshot,
                basic ? QStringLiteral("select * from [Mst04] order by [Mst04].[Col01]")
                      : QStringLiteral("select * from [Mst02] order by [Mst02].[Col01]"),
                {}, CRecordset::readOnly);
        for (; !rs.IsEOF(); rs.MoveNext()) {
            auto card = std::make_unique<CArrBaseInfo>();
            card->number = rs.m_Col01;
            for (int i = 0; i < 4; ++i)
                card->correct[i] = rs.m_Col[i];
            card->excluded = rs.m_JogaiFlag == 1;
            Append(std::move(card));
        }
    }
    CRsMst02 rs(&master);
    rs.Open(CRecordset::dbOpenSnapshot,
            basic ? QStringLiteral("select * from [Mst04Error] order by [Mst04Error].[Col01]")
                  : QStringLiteral("select * from [Mst02Error] order by [Mst02Error].[Col01]"),
            {}, CRecordset::readOnly);
    for (int k = 0; !rs.IsEOF(); rs.MoveNext(), ++k) {
        if (k >= GetSize())
            IC_THROW(QStringLiteral(
                "DBのデータに論理エラーがあります。\n伝票データと伝票誤りデータのレコード数が違います。"));
        CArrBaseInfo& card = at(k);
        if (rs.m_Col01 != card.number)
            IC_THROW(QStringLiteral("DBのデータに論理エラーがあります。\n伝票データと伝票誤りデータのカラム["
                                    "No]の値が違います。"));
        for (int i = 0; i < 4; ++i)
            card.erroneous[i] = rs.m_Col[i];
    }
    rs.Close();
}

std::unique_ptr<CArrBase> MakeDeckForTask(int problemCode) {
    if (problemCode == 1)
        return std::make_unique<CArrHagaki>();
    return std::make_unique<CArrDenpyo>();
}
