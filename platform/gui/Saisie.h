// Input injection: what a user would do with the mouse and the keyboard, delivered to a form's
// controls as the platform delivers it. A form that is hidden or disabled refuses every input
// (the call answers false and nothing happens), and so does a control that is hidden or disabled
// (or stands on a disabled parent). Tests drive the windows through these calls, mostly from a
// scripted modal driver. Main thread only.
#pragma once

#include <cstdint>

#include "platform/gui/Fiches.h"

namespace Saisie {

// Presses the mouse button at P (form client coordinates): the deepest visible control under P
// gets MouseDown and captures the mouse until the button is released.
bool EnfoncerSouris(TForm& Fiche, TPoint P, TMouseButton Bouton = TMouseButton::mbLeft, uint8_t Shift = 0);
// Moves the mouse to P: the captured control, else the control under P, gets MouseMove; controls
// the pointer enters or leaves get MouseEnter and MouseLeave.
bool DeplacerSouris(TForm& Fiche, TPoint P, uint8_t Shift = 0);
// Releases the mouse button at P: the captured control gets MouseUp and the capture ends.
bool RelacherSouris(TForm& Fiche, TPoint P, TMouseButton Bouton = TMouseButton::mbLeft, uint8_t Shift = 0);
// Presses and releases the left button in the middle of a control.
bool Cliquer(TControl& Controle);
// A double click in the middle of a control: a click, then the control's DblClick.
bool DoubleCliquer(TControl& Controle);
// A key pressed on the form. A form with KeyPreview sees it first and may take it. Without a focused control it is offered to the controls as a dialog
// key (Enter, Escape). With one, an arrow, Tab, Enter or Escape the control does not take itself
// (CodesDialogue) is offered as a dialog key first; any other key, and a dialog key nobody took,
// goes to the focused control's KeyDown.
bool Touche(TForm& Fiche, int CodeTouche, uint8_t Shift = 0);
// A character typed on the form: offered to the controls as an accelerator, unless the focused
// control takes characters; one nobody took goes to the focused control's KeyPress.
bool Caractere(TForm& Fiche, char C);
// The wheel turned by Delta over P (form client coordinates): delivered to the focused control,
// else to the control under P. True when a control took it.
bool Molette(TForm& Fiche, TPoint P, int Delta, uint8_t Shift = 0);
// Ends the mouse capture when C holds it (the next moves go to the control under the pointer).
void LibererCapture(const TControl* C);
// The control holding the capture, or nil.
TControl* Capture();
// Whether a control can take input now: shown, enabled, every parent enabled, its form enabled.
bool Accessible(const TControl& Controle);
// Forgets a control that goes (the capture and the control under the pointer).
void Oublier(const TControl* Controle);

}  // namespace Saisie
