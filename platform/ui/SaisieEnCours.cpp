#include "platform/ui/SaisieEnCours.h"

namespace SaisieEnCours {
namespace {

TypeTerminerSaisie terminer = nullptr;
TypeEntreeEnCours enCours = nullptr;

}  // namespace

void Definir(TypeTerminerSaisie Terminer, TypeEntreeEnCours EnCours) {
  terminer = Terminer;
  enCours = EnCours;
}

bool TerminerSaisie(bool Abandonner) { return terminer ? terminer(Abandonner) : false; }
bool EntreeEnCours() { return enCours ? enCours() : false; }

}  // namespace SaisieEnCours
