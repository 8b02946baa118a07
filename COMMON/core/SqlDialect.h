#pragma once
// The query set is written once, with [bracket] quoting of names, which the
// embedded engine reads as it is. A server wants standard "double quotes":
// this is the one place that turns one into the other.
#include <QString>

namespace SqlDialect {
// [Name] becomes "Name" (a '"' inside doubled), ifnull( becomes coalesce(;
// text in '...' literals is left alone, '' included.
QString toStandardQuoting(const QString& sql);
} // namespace SqlDialect
