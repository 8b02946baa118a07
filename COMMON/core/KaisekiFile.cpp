#include "KaisekiFile.h"

#include "AppSub.h"
#include "ArrDenpyo.h"
#include "ClassroomFiles.h"
#include "Codec.h"
#include "DateUtil.h"
#include "ICException.h"
#include "Labels.h"
#include "TextUtil.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace {
QString cannotCreate(const QString& path, int err) {
    return QStringLiteral("解析結果ファイル %1 を作成できません。\n").arg(QDir::toNativeSeparators(path)) +
           AppSub::SystemErrorText(err ? err : EACCES);
}

QString cannotWrite(const QString& path, int err) {
    return QStringLiteral("解析結果ファイル %1 に書き込めません。\n").arg(QDir::toNativeSeparators(path)) +
           AppSub::SystemErrorText(err ? err : ENOSPC);
}

QString mark(bool on) {
    return on ? QStringLiteral("○") : QStringLiteral("×");
}

// One line per judged card with wrong characters: which columns hold one.
struct ErrorCard {
    int cardNo = 0;
    std::vector<bool> columns;
};

// Cards in the order of the wrong-character list; column(m) gives the 0-based
// column of a wrong character.
template <class Column>
std::vector<ErrorCard> errorCards(const CArrKaisekiMain_ShikouKai& trial, int columnCount, Column column) {
    std::vector<ErrorCard> cards;
    int last = -1;
    for (const CArrKaisekiMain_Moji& m : trial.m_wrongChars) {
        if (cards.empty() || m.m_judgedCard != last) {
            cards.push_back({m.m_cardNo, std::vector<bool>(columnCount, false)});
            last = m.m_judgedCard;
        }
        const int c = column(m);
        if (c >= 0 && c < columnCount)
            cards.back().columns[c] = true;
    }
    return cards;
}

// The card's elapsed time in the live deck, empty when the card is not in it.
QString elapsedOf(const CArrBase& deck, int cardNo) {
    const int index = deck.FindCard(cardNo);
    if (index < 0)
        return {};
    const CArrBaseInfo& card = deck.at(index);
    return DateUtil::ElapsedMinSec(card.trialStart, card.finished);
}

void appendTable(QStringList& lines, const QString& header, const std::vector<ErrorCard>& cards,
                 int columnCount, const CArrBase& deck) {
    lines << header;
    std::vector<int> totals(columnCount, 0);
    int running = 0;
    for (const ErrorCard& card : cards) {
        QString line = QString::asprintf("%d,%04d,", ++running, card.cardNo);
        for (int c = 0; c < columnCount; ++c) {
            if (card.columns[c]) {
                line += QStringLiteral("×");
                ++totals[c];
            }
            line += u',';
        }
        lines << line + elapsedOf(deck, card.cardNo);
    }
    QStringList counts;
    for (int total : totals)
        counts << QString::asprintf("%d", total) + QStringLiteral("枚");
    lines << QStringLiteral("合計,,") + counts.join(u',');
}
} // namespace

CKaisekiFile::CKaisekiFile() = default;

CKaisekiFile::~CKaisekiFile() {
    Close();
}

void CKaisekiFile::Open(CDB& userDb, CDB& masterDb, const TrialConditions& conditions, int problemCode,
                        const QDateTime& openedAt, int userCode) {
    Close();
    m_userDb = &userDb;
    m_masterDb = &masterDb;
    m_conditions = conditions;
    m_problemCode = problemCode;
    m_userCode = userCode;
    QString kname1, kname2, name1, name2;
    AppSub::GetUserNames(userDb, userCode, kname1, kname2, name1, name2);
    const QString folder = AppSub::UserFolder(userCode, false);
    const QString path =
        folder + u'/' +
        AppSub::CsvFileName(AppSub::CsvKind::AnalysisResult, problemCode, openedAt, name1, name2);
    errno = 0;
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        IC_THROW(cannotCreate(path, errno));
    auto file = std::make_unique<QFile>(path);
    errno = 0;
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        IC_THROW(cannotCreate(path, errno));
    m_file = std::move(file);
    m_path = path;
}

void CKaisekiFile::Close() {
    if (!m_file)
        return;
    m_file->close();
    m_file.reset();
    ClassroomFiles::sendIfClassroom(m_path, true);
}

const CArrKaisekiMain_ShikouKai* CKaisekiFile::FirstResult() const {
    return m_analysis.GetSize() > 0 ? m_analysis.GetAt(0) : nullptr;
}

int CKaisekiFile::WriteResult(const CArrBase& liveDeck, int historyId) {
    if (!m_userDb || !m_masterDb)
        return 0;
    CArrKaisekiMain::Conditions c;
    c.userCode = m_userCode;
    c.problemCode = m_problemCode;
    c.endTimeFilter = m_conditions.end_time;
    c.timeBucket = 0;
    c.selection = CArrRirekiNum{historyId};
    c.selectionNumbers = CArrRirekiNum{1};
    // The trial being closed: its history row is completed from this result.
    c.includeUnfinished = true;
    m_analysis.Run(*m_userDb, *m_masterDb, c);
    const CArrKaisekiMain_ShikouKai* trial = FirstResult();
    if (m_file) {
        // A trial the analysis could not find is written with zero counts.
        const CArrKaisekiMain_ShikouKai empty;
        for (const QString& line : ResultLines(m_problemCode, m_conditions, trial ? *trial : empty, liveDeck))
            writeLine(line);
    }
    return trial ? 1 : 0;
}

void CKaisekiFile::writeLine(const QString& line) {
    const QByteArray bytes = cp932::encode(line) + "\r\n";
    errno = 0;
    if (m_file->write(bytes) != bytes.size() || !m_file->flush())
        IC_THROW(cannotWrite(m_path, errno));
}

QStringList CKaisekiFile::ResultLines(int problemCode, const TrialConditions& env,
                                      const CArrKaisekiMain_ShikouKai& trial, const CArrBase& liveDeck) {
    QStringList lines;
    lines << Labels::Problem(problemCode) + QStringLiteral("・解析結果") << QString();

    lines << QStringLiteral("■採点結果")
          << QStringLiteral("作業枚数,正解枚数,エラー枚数,正解率,エラー率,開始時刻,終了時刻")
          << QString::asprintf("%d", trial.m_answer_number) + QStringLiteral("枚,") +
                 QString::asprintf("%d", trial.m_correct_number) + QStringLiteral("枚,") +
                 QString::asprintf("%d", trial.m_errorCards) + QStringLiteral("枚,") +
                 QString::asprintf("%5.2f%%,%5.2f%%,", trial.m_correct_rate, trial.m_errorCardRate) +
                 TextUtil::CsvField(DateUtil::DateTimeText(liveDeck.FirstTrialStart())) + u',' +
                 TextUtil::CsvField(DateUtil::DateTimeText(liveDeck.LastFinish()))
          << QString();

    const bool levelUp = env.course_code == 3;
    const bool feedback = env.final_feedback_flg != 0 && env.course_code != 1;
    lines << QStringLiteral("■目標設定")
          << QStringLiteral("コース,目標作業枚数,目標正しい枚数,フィードバック方法,選択色")
          << QStringList{Labels::Course(env.course_code),
                         levelUp ? QString::asprintf("%d", env.target_value) + QStringLiteral("枚")
                                 : QString(),
                         levelUp ? QString::asprintf("%d", env.target_value2) + QStringLiteral("枚")
                                 : QString(),
                         feedback ? Labels::ResultMethod(env.result_code) : QString(),
                         feedback && env.result_code != 1 ? Labels::Colour(env.color_code) : QString()}
                 .join(u',')
          << QString();

    lines << QStringLiteral("■試行条件の設定")
          << QStringLiteral("終了設定時間,課題媒体,呈示方法,進捗呈示,残り時間タイマー,〒,切替音")
          << QStringList{Labels::EndTime(env.end_time),
                         env.display_flg ? QStringLiteral("画面") : QStringLiteral("紙"),
                         Labels::Order(env.order_flg),
                         mark(env.progress_flg),
                         mark(env.timer_flg),
                         mark(env.zip_flg),
                         mark(env.sound_flg)}
                 .join(u',')
          << QString();

    const bool questionnaire = problemCode == 1;
    const int items = questionnaire ? 9 : 4;
    lines << QStringLiteral("■項目別エラー一覧");
    appendTable(
        lines,
        questionnaire
            ? QStringLiteral("エラー,カードNo.,フリガナ,名前,郵便番号,住所,電話番号,メールアドレス,"
                             "問１,問２,問３,経過時間")
            : QStringLiteral("エラー,カードNo.,顧客コード,商品コード,電話番号,メールアドレス,経過時間"),
        errorCards(trial, items,
                   [](const CArrKaisekiMain_Moji& m) {
                       return m.m_itemCode >= 21 ? m.m_itemCode - 21 : m.m_itemCode - 11;
                   }),
        items, liveDeck);
    lines << QString();

    lines << QStringLiteral("■文字種別エラー一覧");
    appendTable(lines, QStringLiteral("エラー,カードNo.,カナ,漢字,数字,英大文字,英小文字,記号等,経過時間"),
                errorCards(trial, CArrKaisekiMain_ShikouKai::kClassCount,
                           [](const CArrKaisekiMain_Moji& m) { return m.m_charClass - 1; }),
                CArrKaisekiMain_ShikouKai::kClassCount, liveDeck);
    return lines;
}
