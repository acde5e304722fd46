#pragma once
// The Find dialog TForm4: asks for the piece of a node label to search for
// and whether to search from the first node. Its text and check box keep
// their contents from one showing to the next.

#include "locate/label_search.h"
#include "shell/win32_form.h"

#include <string>

namespace vantrel::win32 {

class TForm4 : public Form {
public:
    TForm4();

    // The text of Edit1 as typed.
    std::string Text() const;
    // "From the beginning:" is checked.
    bool FromBeginning() const;

    HWND Label1 = nullptr;
    HWND Edit1 = nullptr;
    HWND CheckBox1 = nullptr;
    HWND Button1 = nullptr;
    HWND Button2 = nullptr;

protected:
    void FormShow() override;
};

// "Find window...": asks for the text, then searches from the first node or
// from the selection.
void FindWindowCommand(TreeCursor& tree, TForm4& dialog);
// "Find next": searches on after the selected node.
void FindNextCommand(TreeCursor& tree);
// One search step after the tree's current node with the last search text.
void FindNext(TreeCursor& tree);

}  // namespace vantrel::win32
