// How the lower layers reach the in-place entry field of the toolkit without depending on it: the
// toolkit's entry unit installs its two routines at start-up; without it no entry can be open, and
// both answer false. Main thread only.
#pragma once

namespace SaisieEnCours {

// Ends the open entry (abandoned, or validated as by leaving the field); whether one was open.
using TypeTerminerSaisie = bool (*)(bool Abandonner);
// Whether an entry field is open and visible.
using TypeEntreeEnCours = bool (*)();

// Installs the routines (nil: none).
void Definir(TypeTerminerSaisie Terminer, TypeEntreeEnCours EnCours);

bool TerminerSaisie(bool Abandonner);
bool EntreeEnCours();

}  // namespace SaisieEnCours
