// The fonts built into the program: Liberation Serif for the field's "Times
// New Roman" (the same metrics), OCR-A for the status bar's "OCR A Extended",
// Comic Neue Bold for the about box's bold "Comic Sans MS".
#pragma once

#include <QFont>
#include <QString>

namespace kelvarok {

// Registers the fonts with the application's font database; call once after
// the QGuiApplication exists. Later calls do nothing.
void RegisterEmbeddedFonts();

// Family names of the registered fonts (OCR-A regular for the status bar).
QString FieldFontFamily();
QString StatusFontFamily();
// The status bar's font at a pixel height; OCR-A has a drawn bold of its own.
QFont StatusFont(int pixelSize, bool bold);
// The bold comic face at a pixel height.
QFont ComicFont(int pixelSize);

}  // namespace kelvarok
