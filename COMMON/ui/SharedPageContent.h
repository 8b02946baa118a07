#pragma once
// Stores the content that the pages of a PDF written by Qt's PDF engine all
// begin with once, as a stream every page lists before its own rest. A sheet
// of cards printed form first begins each page with the same form, which
// otherwise is written out, glyph by glyph, on every page; a PDF reader joins
// a page's streams into the same content as before.
#include <QString>

namespace SharedPageContent {
// Rewrites the file in place. False, with the file as it was, when the pages
// have nothing worth sharing or the file is not laid out as Qt writes it (one
// cross-reference table, Flate-compressed page contents).
bool Apply(const QString& pdfPath);
} // namespace SharedPageContent
