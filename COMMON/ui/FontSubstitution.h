#pragma once
// The screens and drawings name their faces as the forms have always named them
// ("ＭＳ Ｐゴシック", "ＭＳ ゴシック"); this maps those names onto the IPA Gothic
// faces (fonts-ipafont-gothic) so every machine draws them in a Japanese font.
// Call once at program start, before any font is created.
void installFontSubstitutions();
