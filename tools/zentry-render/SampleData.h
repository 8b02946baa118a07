#pragma once
// Cards and trials for the pictures, built in code so the pictures never
// depend on the data files of a build.
#include "ArrDenpyo.h"
#include "ArrKaisekiMain.h"

#include <memory>
#include <vector>

namespace SampleData {
// One voucher (with printed errors and miss-check marks) and one postcard
// (with typed answers that differ from the card in places).
std::unique_ptr<CArrDenpyo> Vouchers();
std::unique_ptr<CArrHagaki> Postcards();
// Completed trials of one user, courses 1 and 3 mixed, with their conditions.
std::vector<std::unique_ptr<CArrKaisekiMain_ShikouKai>> Trials(int count);
} // namespace SampleData
