#include "shell/Layout.h"

namespace korvane {

MainLayout layoutFor(int width, int height, int editorHeight) {
    MainLayout l;
    l.editorWidth = width - 400;
    l.stripWidth = width;
    l.nameFieldWidth = l.editorWidth;
    if (height > 3200) l.editorHeight = height - 3200;
    l.progressTop = kEditorTop + l.editorHeight.value_or(editorHeight) + 70;
    return l;
}

}  // namespace korvane
