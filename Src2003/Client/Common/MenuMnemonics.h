#pragma once

class QMenu;
class QMenuBar;
class QString;

// Underlined letters (Alt+letter) for menus whose captions carry none: each
// item gets the first letter, preferring the start of a word, that no other
// item of the same menu uses. The visible captions stay as they are; items
// that already have a letter keep it. Submenus are left to their own call.
void AssignMnemonics(QMenu& menu);
void AssignMnemonics(QMenuBar& menuBar);

// A caption as the user reads it: without the '&' that marks the underlined
// letter ("&&" stands for one '&').
QString VisibleCaption(const QString& caption);
