#include "core/objects/Erreur.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

NV_DEFINE_CLASS(TErreur, TArbreTemporaire)

TErreur::TErreur(const std::string& Message) : Message(Message.empty() ? "Erreur globale" : Message) {}

void TErreur::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  Formateur->EcrireChaine(Message);
  TArbreTemporaire::Ecrire(Formateur, Contexte);
}

void TErreur::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  if (Formateur->LireChaine(Message) < 0) throw EReadError("Erreur de lecture du flux");
  TArbreTemporaire::Lire(Formateur, Contexte);
}

void TErreur::TracerEntete(TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!TraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  Traceur->TracerPropriete("Message", Message, Texte);
}

void Erreur::Initialiser() {
  TracerModule("Initialisation du module Erreur.");
  TGestionnaireNomsDeClasse::Enregistrer(TErreur::StaticClass());
}
