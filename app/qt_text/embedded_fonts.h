// The fonts built into the program: Liberation Serif for the field's "Times
// New Roman" (the same metrics), OCR-A for the status bar's "OCR A Extended".
#pragma once

#include <QString>

namespace kelvarok {

// Registers the fonts with the application's font database; call once after
// the QGuiApplication exists. Later calls do nothing.
void RegisterEmbeddedFonts();

// Family names of the registered fonts.
QString FieldFontFamily();
QString StatusFontFamily();

}  // namespace kelvarok
