#pragma once
// The environment's feedback colours as screen colours.
#include "ExecEnv.h"

#include <QColor>

inline QColor ToColor(const Labels::Rgb& rgb) { return QColor(rgb.r, rgb.g, rgb.b); }
// A right answer or a goal met.
inline QColor FeedbackColour(const CExecEnv& env) { return ToColor(env.FeedbackColour()); }
// A wrong answer or a goal missed.
inline QColor ContrastColour(const CExecEnv& env) { return ToColor(env.ContrastColour()); }
