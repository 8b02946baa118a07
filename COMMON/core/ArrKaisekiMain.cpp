#include "ArrKaisekiMain.h"

#include "TrialState.h"

#include "AppSub.h"
#include "ArrDenpyo.h"
#include "Codec.h"
#include "CsvReadAhead.h"
#include "DateUtil.h"
#include "ICException.h"
#include "KCCompareText.h"
#include "Notifier.h"
#include "Recordsets.h"
#include "TCLoadCSVFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <iterator>

namespace {
const QString kFolderMissing = QStringLiteral("Error. 入力値ファイルの保存先フォルダが見つかりません.");
const QString kFileMissing = QStringLiteral("Error. 入力値ファイルが見つかりません.");
const QString kFileUnreadable = QStringLiteral("Error. 入力値ファイルを読み込めません.");
const QString kUnknownTask = QStringLiteral("Error.");

// Columns of a card line (1-based in the file, 0-based here).
constexpr int kElapsedColumn = 2;
constexpr int kNumberColumn = 4;
constexpr int kFirstItemColumn = 5;

QString taskWord(int problemCode) {
    switch (problemCode) {
    case 1:
        return QStringLiteral("アンケート");
    case 2:
        return QStringLiteral("顧客伝票");
    case 3:
        return QStringLiteral("ミスチェック");
    default:
        return {};
    }
}

// The decimal number at the start of text (leading blanks and a sign allowed), 0 when none.
int leadingNumber(QStringView text) {
    bool negative = false;
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+'))
        negative = text.at(i++) == u'-';
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9' && value < 1'000'000'000; ++i)
        value = value * 10 + (text.at(i).unicode() - u'0');
    return static_cast<int>(negative ? -value : value);
}

// True when a card line's elapsed time ("%d分%d秒") lies in the bucket.
bool inBucket(QStringView elapsed, int bucket) {
    if (bucket == 0)
        return true;
    const DateUtil::TimeSpan span = DateUtil::ParseMinSec(elapsed.toString());
    if (!span.valid)
        return false;
    const qint64 t = span.seconds;
    switch (bucket) {
    case 1:
        return t >= 0 && t < 900;
    case 2:
        return t >= 900 && t < 1800;
    case 3:
        return t >= 1800 && t < 2700;
    case 4:
        return t >= 2700 && t < 3601; // a trial of exactly 60 minutes ends at 60分0秒
    default:
        return false;
    }
}

// The 60-minute factor of an end_time code; 0 for an unknown code.
double sixtyMinuteFactor(int endTime) {
    switch (endTime) {
    case 1:
        return 4;
    case 2:
        return 2;
    case 3:
        return 1.33; // by definition, not 4/3
    case 4:
        return 1;
    default:
        return 0;
    }
}

double percent(double part, double whole) {
    return whole > 0 ? part / whole * 100 : 0;
}

int itemPosition(int itemCode) {
    return itemCode >= 21 ? itemCode - 21 : itemCode - 11;
}
} // namespace

struct CArrKaisekiMain::CardIndex {
    QHash<int, int> byNumber; // first deck index of each card number

    explicit CardIndex(const CArrBase& deck) {
        byNumber.reserve(deck.GetSize());
        for (int i = 0; i < deck.GetSize(); ++i)
            if (!byNumber.contains(deck.at(i).number))
                byNumber.insert(deck.at(i).number, i);
    }
    int find(int number) const { return byNumber.value(number, -1); }
};

CArrKaisekiMain::CArrKaisekiMain() : m_compare(std::make_unique<CKCCompareText>()) {}

CArrKaisekiMain::~CArrKaisekiMain() = default;

void CArrKaisekiMain::Clear() {
    m_trials.clear();
    m_deck1.reset();
    m_deck2.reset();
    m_index1.reset();
    m_index2.reset();
    m_folderListed = false;
    m_folderExists = false;
    m_userFolder.clear();
    m_folderFiles.clear();
}

int CArrKaisekiMain::Run(CDB& userDb, CDB& masterDb, const Conditions& conditions) {
    Clear();
    m_conditions = conditions;
    std::optional<QString> failure;
    try {
        m_deck1 = MakeDeckForTask(conditions.problemCode);
        m_deck2 = MakeDeckForTask(conditions.problemCode);
        m_deck1->Load(masterDb, 1);
        m_deck2->Load(masterDb, 2);
        m_index1 = std::make_unique<CardIndex>(*m_deck1);
        m_index2 = std::make_unique<CardIndex>(*m_deck2);
        listTrials(userDb);
    } catch (const CDBException& e) {
        failure = e.text();
    } catch (const CICException& e) {
        // Inconsistent master data: the decks cannot judge anything.
        failure = e.GetErrorMessage();
    }
    // Trials listed before a failure are judged all the same: a failed run
    // keeps what it got so far.
    judgeTrials();
    if (failure) {
        notifyError(*failure);
        return 0;
    }
    return 1;
}

void CArrKaisekiMain::listTrials(CDB& userDb) {
    const Conditions& c = m_conditions;
    CRsHistory_tbl rs(&userDb);
    rs.Open(CRecordset::dbOpenSnapshot,
            QStringLiteral("select * from [History_tbl] where [user_code] = %d and [delete_flg] <> 1 order by "
                           "[execution_date], [AutoNumber]"),
            {c.userCode}, CRecordset::readOnly);
    int n = 0;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        if (!passes(rs))
            continue;
        ++n;
        int trialNo = n;
        if (c.selection) {
            const int at = c.selection->Find(rs.m_AutoNumber);
            if (at < 0)
                continue;
            trialNo = at < c.selectionNumbers.GetSize() ? c.selectionNumbers.GetAt(at) : at + 1;
        }
        m_trials.push_back(newTrial(rs, trialNo));
    }
}

bool CArrKaisekiMain::passes(const CRsHistory_tbl& row) const {
    const Conditions& c = m_conditions;
    const int course = row.m_course_code.toInt();
    const int endTime = row.m_end_time.toInt();
    const bool aborted = row.m_end_flg.toInt() == 1;
    if (row.m_problem_code.toInt() != c.problemCode)
        return false;
    if (!c.includeUnfinished && TrialState::IsUnfinished(row))
        return false;
    if (c.endTimeFilter != 0 && endTime != c.endTimeFilter)
        return false;
    if (c.testLevelUpOnly && (aborted || (course != 1 && course != 3)))
        return false;
    if (c.courseFilter != AnyCourse && course != c.courseFilter &&
        !(c.courseFilter == TestOrLevelUp && (course == 1 || course == 3)))
        return false;
    switch (c.selectionType) {
    case 1:
    case 2:
    case 3:
    case 4:
        return !aborted && endTime == c.selectionType;
    case SelectCompleted:
        return !aborted;
    case SelectAborted:
        return aborted;
    default:
        return true;
    }
}

std::unique_ptr<CArrKaisekiMain_ShikouKai> CArrKaisekiMain::newTrial(const CRsHistory_tbl& row, int trialNo) {
    auto trial = std::make_unique<CArrKaisekiMain_ShikouKai>();
    CArrKaisekiMain_ShikouKai& t = *trial;
    t.m_trialNo = trialNo;
    t.m_timeBucket = m_conditions.timeBucket;
    t.m_AutoNumber = row.m_AutoNumber;
    t.m_user_code = row.m_user_code;
    t.m_problem_code = row.m_problem_code;
    t.m_execution_date = row.m_execution_date;
    t.m_order_flg = row.m_order_flg;
    t.m_end_time = row.m_end_time;
    t.m_display_flg = row.m_display_flg;
    t.m_display_position = row.m_display_position;
    t.m_progress_flg = row.m_progress_flg;
    t.m_timer_flg = row.m_timer_flg;
    t.m_remainder_flg = row.m_remainder_flg;
    t.m_graph_flg = row.m_graph_flg;
    t.m_zip_flg = row.m_zip_flg;
    t.m_sound_flg = row.m_sound_flg;
    t.m_course_code = row.m_course_code;
    t.m_target_value = row.m_target_value;
    t.m_target_value2 = row.m_target_value2;
    t.m_result_code = row.m_result_code;
    t.m_color_code = row.m_color_code;
    t.m_end_flg = row.m_end_flg;
    t.m_answer_time = row.m_answer_time;
    t.m_first_update = row.m_first_update;
    t.m_last_update = row.m_last_update;
    t.m_delete_flg = row.m_delete_flg;

    t.m_inputFile = findInputFile(row.m_execution_date, row.m_problem_code.toInt(), t.m_message);
    t.m_fileMissing = t.m_inputFile.isEmpty();
    return trial;
}

void CArrKaisekiMain::judgeTrials() {
    // The files are read and decoded on a second thread, a few trials ahead of
    // the judging: reading a long history's files is half of the work.
    QStringList paths;
    for (const auto& trial : m_trials)
        if (!trial->m_fileMissing)
            paths << trial->m_inputFile;
    CCsvReadAhead files(paths);
    CTCLoadCSVFile file;
    for (const auto& trial : m_trials) {
        CArrKaisekiMain_ShikouKai& t = *trial;
        if (!t.m_fileMissing) {
            try {
                if (files.TakeNext(file))
                    judgeFile(t, file);
            } catch (const CICException&) {
                // The file is there but cannot be read: the trial has no countable cards.
                t.m_fileMissing = true;
                t.m_message = kFileUnreadable;
            }
        }
        computeTotals(t);
    }
}

void CArrKaisekiMain::computeTotals(CArrKaisekiMain_ShikouKai& t) {
    const int itemsPerCard = t.m_problem_code == QLatin1String("1") ? 9 : 4;
    t.m_answer_koumoku = t.m_answer_number * itemsPerCard;
    int itemErrors = 0;
    for (int e : t.m_itemErrors)
        itemErrors += e;
    t.m_correct_koumoku = t.m_answer_koumoku - itemErrors;
    t.m_correct_rate = percent(t.m_correct_number, t.m_answer_number);
    t.m_correct_rate_koumoku = percent(t.m_correct_koumoku, t.m_answer_koumoku);

    const double factor = sixtyMinuteFactor(t.m_end_time.toInt());
    t.m_answer_number60 = t.m_answer_number * factor;
    t.m_answer_koumoku60 = t.m_answer_koumoku * factor;
    t.m_correct_number60 = t.m_correct_number * factor;
    t.m_correct_koumoku60 = t.m_correct_koumoku * factor;
    t.m_correct_rate60 = percent(t.m_correct_number60, t.m_answer_number60);
    t.m_correct_rate_koumoku60 = percent(t.m_correct_koumoku60, t.m_answer_koumoku60);
}

QString CArrKaisekiMain::findInputFile(const QDateTime& executionDate, int problemCode, QString& message) {
    // The folder is listed once per run: a run over many trials would otherwise
    // scan the whole folder again for every trial.
    if (!m_folderListed) {
        m_folderListed = true;
        m_userFolder = AppSub::UserFolder(m_conditions.userCode, false);
        m_folderExists = QFileInfo(m_userFolder).isDir();
        if (m_folderExists) {
            m_folderFiles =
                QDir(m_userFolder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
            std::sort(m_folderFiles.begin(), m_folderFiles.end());
        }
    }
    if (!m_folderExists) {
        message = kFolderMissing;
        return {};
    }
    const QString word = taskWord(problemCode);
    if (word.isEmpty()) {
        message = kUnknownTask;
        return {};
    }
    if (!executionDate.isValid()) {
        message = kFileMissing;
        return {};
    }
    const QDate d = executionDate.date();
    const QTime tm = executionDate.time();
    const QString prefix = QString::asprintf("%04d%02d%02d_%02d%02d%02d", d.year(), d.month(), d.day(),
                                             tm.hour(), tm.minute(), tm.second()) +
                           QStringLiteral("_入力値_") + word;
    for (auto it = std::lower_bound(m_folderFiles.cbegin(), m_folderFiles.cend(), prefix);
         it != m_folderFiles.cend() && it->startsWith(prefix); ++it) {
        if (it->endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
            return m_userFolder + '/' + *it;
    }
    message = kFileMissing;
    return {};
}

void CArrKaisekiMain::judgeFile(CArrKaisekiMain_ShikouKai& trial, const CTCLoadCSVFile& file) {
    bool hasPrevious = false;
    int previous = 0;
    int judged = 0;
    m_wrong.clear();
    const bool basic = trial.courseCode() == 2;
    CArrBase& deck = basic ? *m_deck2 : *m_deck1;
    const CardIndex& cards = basic ? *m_index2 : *m_index1;
    CTCLoadCSVFile::RowView fields;
    for (int row = 2; row <= file.GetRowCount(); ++row) {
        // Views of the file's text: nothing of a row is kept beyond its judgement.
        file.GetRowView(row, fields);
        const int cardNo = leadingNumber(fields.value(kNumberColumn));
        // The same card completed twice in a row is one piece of work.
        const bool repeated = hasPrevious && cardNo == previous;
        hasPrevious = true;
        previous = cardNo;
        if (repeated || !inBucket(fields.value(kElapsedColumn), trial.m_timeBucket))
            continue;
        ++trial.m_answer_number;
        if (judgeCard(trial, deck, cards, fields, cardNo, judged++))
            ++trial.m_correct_number;
        else
            ++trial.m_errorCards;
    }
    trial.m_errorCardRate = percent(trial.m_errorCards, trial.m_answer_number);
    // Collected in a list that keeps its room from trial to trial, then stored
    // at its size: growing each trial's list as it fills would free and take
    // memory all through a long run.
    trial.m_wrongChars.assign(std::make_move_iterator(m_wrong.begin()), std::make_move_iterator(m_wrong.end()));

    // Per judged card: one count for each item and each class that holds a wrong
    // character. Grouping by the judged row (not by card number) keeps a card
    // that was completed twice apart even when only correct cards lie between.
    int lastCard = -1;
    int lastItem = -1;
    bool classSeen[CArrKaisekiMain_ShikouKai::kClassCount] = {};
    auto countClasses = [&] {
        for (int c = 0; c < CArrKaisekiMain_ShikouKai::kClassCount; ++c) {
            if (classSeen[c])
                ++trial.m_classErrors[c];
            classSeen[c] = false;
        }
    };
    for (const CArrKaisekiMain_Moji& m : trial.m_wrongChars) {
        if (m.m_judgedCard != lastCard)
            countClasses();
        if (m.m_judgedCard != lastCard || m.m_itemCode != lastItem) {
            const int position = itemPosition(m.m_itemCode);
            if (position >= 0 && position < CArrKaisekiMain_ShikouKai::kItemCount)
                ++trial.m_itemErrors[position];
        }
        lastCard = m.m_judgedCard;
        lastItem = m.m_itemCode;
        if (m.m_charClass >= 1 && m.m_charClass <= CArrKaisekiMain_ShikouKai::kClassCount)
            classSeen[m.m_charClass - 1] = true;
    }
    countClasses();
}

bool CArrKaisekiMain::judgeCard(CArrKaisekiMain_ShikouKai& trial, CArrBase& deck, const CardIndex& cards,
                                const CTCLoadCSVFile::RowView& fields, int cardNo, int judgedCard) {
    // By card number, not by deck position: numbers need not run 1..n.
    const int index = cards.find(cardNo);
    if (index < 0)
        return true;
    CArrBaseInfo& card = deck.at(index);
    const int items = deck.ItemCount();
    const int task = m_conditions.problemCode;
    const size_t before = m_wrong.size();
    const int itemBase = task == 1 ? 11 : 21;
    CKCCompareText& cmp = *m_compare;

    for (int i = 0; i < items; ++i) {
        const QStringView input = fields.value(kFirstItemColumn + i);
        if (task == 3) {
            if (cmp.CompareMarks(card.correct[i], card.erroneous[i], input))
                continue;
            for (int p = 0; p < cmp.GetSize(); ++p) {
                if (cmp.IsMatch(p))
                    continue;
                CArrKaisekiMain_Moji m;
                m.m_errorKind = CKCCompareText::SameChar(cmp.LeftCode(p), cmp.RightCode(p))
                                    ? CArrKaisekiMain_Moji::OverCorrected
                                    : CArrKaisekiMain_Moji::Overlooked;
                m.m_expected = cmp.LeftChar(p);
                m.m_found = cmp.RightChar(p);
                m.m_charClass = CharClass(m.m_expected);
                m.m_cardNo = card.number;
                m.m_itemCode = itemBase + i;
                m.m_judgedCard = judgedCard;
                m.m_trial = &trial;
                m_wrong.push_back(std::move(m));
            }
            continue;
        }
        if (input == card.correct[i] || cmp.Compare(card.correct[i], input))
            continue;
        std::u32string printed;
        CKCCompareText::SplitChars(card.erroneous[i], printed);
        for (int p = 0; p < cmp.GetSize(); ++p) {
            if (cmp.IsMatch(p))
                continue;
            const char32_t correctCode = cmp.LeftCode(p);
            const char32_t typedCode = cmp.RightCode(p);
            const char32_t printedCode = p < static_cast<int>(printed.size()) ? printed[p] : 0;
            CArrKaisekiMain_Moji m;
            if (CKCCompareText::SameChar(correctCode, printedCode))
                m.m_errorKind = CArrKaisekiMain_Moji::OverCorrected;
            else if (CKCCompareText::SameChar(typedCode, printedCode))
                m.m_errorKind = CArrKaisekiMain_Moji::Overlooked;
            else
                m.m_errorKind = CArrKaisekiMain_Moji::InputError;
            m.m_expected = cmp.LeftChar(p);
            m.m_charClass = CharClass(m.m_expected);
            if (task == 2 && printedCode != 0)
                m.m_expected += QString::fromUcs4(&printedCode, 1);
            m.m_found = cmp.RightChar(p);
            m.m_cardNo = card.number;
            m.m_itemCode = itemBase + i;
            m.m_judgedCard = judgedCard;
            m.m_trial = &trial;
            m_wrong.push_back(std::move(m));
        }
    }
    card.errorChecks = leadingNumber(fields.value(kFirstItemColumn + items));
    return m_wrong.size() == before;
}

CArrBase* CArrKaisekiMain::DeckOf(const CArrKaisekiMain_ShikouKai& trial) const {
    return trial.courseCode() == 2 ? m_deck2.get() : m_deck1.get();
}

int CArrKaisekiMain::RestoreDeck(int trialNo) {
    for (const auto& trial : m_trials) {
        if (trial->m_trialNo != trialNo)
            continue;
        CArrBase* deck = DeckOf(*trial);
        return deck ? deck->RestoreFromInputFile(trial->m_inputFile) : 0;
    }
    return 0;
}

int CArrKaisekiMain::CharClass(const QString& text) {
    if (text.isEmpty())
        return 6;
    return CharClassOfCode(cp932::charCode(text));
}

int CArrKaisekiMain::CharClassOfCode(unsigned code) {
    if (code <= 0xFF) {
        if (code >= 0xA6 && code <= 0xDF)
            return 1; // half-width katakana
        // A single byte counts as a signed byte: 0x80..0xFF lie above every kanji code.
        if (code >= 0x80)
            code |= 0xFF00;
    }
    if ((code >= 0x8341 && code <= 0x8396) || (code >= 0x829F && code <= 0x82F1))
        return 1;
    if ((code >= 0x824F && code <= 0x8258) || (code >= '0' && code <= '9'))
        return 3;
    if ((code >= 0x8260 && code <= 0x8279) || (code >= 'A' && code <= 'Z'))
        return 4;
    if ((code >= 0x8281 && code <= 0x829A) || (code >= 'a' && code <= 'z'))
        return 5;
    if (code < 0x889F)
        return 6;
    return 2;
}
