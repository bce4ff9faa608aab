// The fixed texts of the window, lines joined by CR LF with no break after
// the last line.
#ifndef SUMORA_UI_WINDOW_TEXTS_H_
#define SUMORA_UI_WINDOW_TEXTS_H_

#include <QString>

namespace sumora {

// The tooltip of the scientific-mode check box: what that mode understands.
QString ScientificHelpText();

// Program name, version and build date, maker, contact, then the examples
// of ScientificHelpText; the about link puts it in front of the input.
QString AboutText();

}  // namespace sumora

#endif  // SUMORA_UI_WINDOW_TEXTS_H_
