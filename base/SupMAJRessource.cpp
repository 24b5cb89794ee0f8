#include "base/SupMAJRessource.h"

#include "base/ressources/SupRessource.h"
#include "core/records/Xi.h"

namespace SupMAJRessource {

TypeRessourcesAMettreAJour& RessourcesAMettreAJour() {
  static TypeRessourcesAMettreAJour enregistrement;
  return enregistrement;
}

namespace {
uint32_t RessourceCourante() {
  void* table = SupRessource::Fichier().Table;
  return table != nullptr ? Xi::NumeroCourant(table) : 0;
}
}  // namespace

void AjouterRessource(uint32_t Numero, TypeRessourcesAMettreAJour& Enregistrement) {
  if (Numero != 0) (void)Memoire::Inserer(Numero, Enregistrement.Ressources);
}

void AjouterRessourceCourante(TypeRessourcesAMettreAJour& Enregistrement) {
  AjouterRessource(RessourceCourante(), Enregistrement);
}

void RetirerRessourceCourante(TypeRessourcesAMettreAJour& Enregistrement) {
  const uint32_t numero = RessourceCourante();
  if (numero != 0) (void)Memoire::Supprimer(numero, Enregistrement.Ressources);
}

void Vider(TypeRessourcesAMettreAJour& Enregistrement) {
  Memoire::Liberer(Enregistrement.Ressources);
  Memoire::Initialiser(Enregistrement.Ressources);
}

void Liberer(TypeRessourcesAMettreAJour& Enregistrement) { Memoire::Liberer(Enregistrement.Ressources); }

void Initialiser() {
  TypeRessourcesAMettreAJour& e = RessourcesAMettreAJour();
  Memoire::Liberer(e.Ressources);
  e.Libelle = "mettre \xE0 jour";
  e.Routine = nullptr;
}

void Finaliser() { Liberer(RessourcesAMettreAJour()); }

}  // namespace SupMAJRessource
