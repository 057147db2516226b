#pragma once

class QWidget;

namespace hw {

class Prompts;
class ScriptBox;

/// Save Script As…: writes the text of `box` exactly as it stands (CR LF
/// between lines) in one of the game's code pages, chosen as the file type in
/// the save dialog (Windows-1252 at first, then the last one chosen). A
/// character that the code page has no byte for is named with its line, and
/// nothing is written; so is an empty box's lack of a script.
void saveScriptAs(QWidget *parent, Prompts &prompts, const ScriptBox &box);

} // namespace hw
