#pragma once

#include "plugin/code_page.hpp"

class QString;
class QWidget;

namespace hw {

class Prompts;

/// Save Script As…: writes `script`, the script box's text, exactly as it
/// stands (CR LF between lines) in one of the game's code pages, chosen as the
/// file type in the save dialog (Windows-1252 at first, then the last one
/// chosen). A character that the code page has no byte for is named with its
/// line, and nothing is written; so is an empty box's lack of a script.
void saveScriptAs(QWidget *parent, Prompts &prompts, const QString &script);

/// The game's code page as the author last chose it for a script in Save
/// Script As; Windows-1252 until then.
CodePage gameCodePage();

} // namespace hw
