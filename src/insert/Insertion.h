#pragma once
// Insertion at the caret: every command that puts text into the program (command
// menus, catalogue, palette, tool-strip buttons) ends here.
#include <string>

#include "editor/EditorContext.h"

namespace korvane {

// Inserts `motCle` at the caret when the caret lies in the body window and puts
// the caret `txtFocus` characters after the insertion point. A selection is not
// replaced: its text follows the inserted text. In every case the editor gets the
// focus and the whole text is recoloured.
void ajoutText(EditorContext& context, const std::string& motCle, int txtFocus);

}  // namespace korvane
