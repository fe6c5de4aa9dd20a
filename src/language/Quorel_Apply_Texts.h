#pragma once

class QObject;

// Captions and hints of a window's named controls, from their text keys:
// a control's key is its object name, its hint key that name + "_Hint".
struct Apply_Texts_Options
{
    // Frame texts (window titles, tool hints) through Menu_Text.
    bool Frame_In_Menu_Text = true;
    // Captions through Menu_Text as well (tab captions and the like).
    bool Captions_In_Menu_Text = false;
    bool Hints = true;
};

// Sets, for root and every descendant whose object name has a text: the
// "windowTitle" of a "Form_..." object, else its "title" (group boxes),
// else its "text"; and the "toolTip" from the hint key, wrapped, or empty
// while hints are off. Objects without a text keep what they show.
// Returns how many objects got a caption or hint.
int Apply_Object_Texts(QObject* root, const Apply_Texts_Options& options = {});
