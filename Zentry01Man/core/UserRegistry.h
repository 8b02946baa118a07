#pragma once
// The user registry of User_tbl: checking the names an instructor enters,
// registering a user under the next free code, editing the names, and soft
// deletion. Every write runs in a transaction of the user database; a failure
// is reported through the notifier and rolls the write back, and an edit
// writes only the columns it changes.
#include <QString>

#include <array>

class CDB;

namespace UserRegistry {

struct Names {
    QString kname1, kname2; // フリガナ family and given name
    QString name1, name2;   // 氏名 family and given name
};

// Leading and trailing single-byte white space (space, tab, line breaks)
// removed; the ideographic space is kept.
QString TrimSingleByteSpace(const QString& text);
Names Trimmed(const Names& names);

// The checks in the order they are made; the first failure counts.
enum class Check {
    Ok,
    MissingFamilyName, // the フリガナ or the 氏名 family name is empty
    KanaNotKatakana,   // a フリガナ part holds a character other than full-width katakana or "ー"
    NameNotFullWidth,  // a 氏名 part holds a character without a two-byte code page 932 form
};
Check CheckNames(const Names& names);

// The names of a live user; false when there is none with that code.
bool Load(CDB& userDb, int userCode, Names& names);

// Registers a new user (created and changed now, live) under one more than
// the largest code, deleted users included, with the given next start
// numbers of the three tasks (an import brings them along). The new code, or
// 0 when the write failed (already reported).
int Add(CDB& userDb, const Names& names, const std::array<int, 3>& startNumbers = {0, 0, 0});

enum class Result { Done, Missing, Failed };
// Replaces a live user's four names and stamps last_update. Missing when no
// live user has the code; Failed when the write failed (already reported).
Result Update(CDB& userDb, int userCode, const Names& names);
// Marks the user deleted (the row stays) and stamps last_update.
Result Delete(CDB& userDb, int userCode);

} // namespace UserRegistry
