// The error value of the whole framework: an operation that can fail returns an error tree (nil for
// success) whose top message says what was attempted and whose children say why it failed. An error
// without a parent belongs to the collector and disappears at the next turn of the main loop, so a
// caller that drops one need not free it.
#pragma once

#include <string>

#include "core/objects/Arbre.h"

class TErreur : public TArbreTemporaire {
  NV_DECLARE_CLASS(TErreur)
 public:
  // A temporary node (the collector's until it is attached) with Message, or "Erreur globale" when
  // Message is empty.
  explicit TErreur(const std::string& Message = std::string());
  explicit TErreur(TBlank b) : TArbreTemporaire(b) {}

  // The message, then the children (their count, then each as an object).
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;
  // The line "Message = <message>".
  void TracerEntete(TCustomTraceur* Traceur, std::string& Texte) override;

  std::string Message;
};

namespace Erreur {
// Registers TErreur by name, so that an error can be read before any has been built.
void Initialiser();
}  // namespace Erreur
