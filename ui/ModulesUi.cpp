#include "ui/ModulesUi.h"

#include "platform/ui/Patienc2.h"
#include "platform/ui/Patienc3.h"
#include "ui/DynaLibU.h"
#include "ui/Fiche.h"
#include "ui/FicheProtocole.h"
#include "ui/ImagesToolkit.h"
#include "ui/ListeSimpleProfilsServeur.h"
#include "ui/Saisies.h"
#include "ui/VclDialogue.h"
#include "ui/vclliste.h"
#include "ui/vclprint.h"

std::span<const TModule> ModulesUi() {
  static const TModule kTable[] = {
      {"ImagesToolkit", ImagesToolkit::Initialiser, ImagesToolkit::Finaliser},
      {"VclDialogue", VclDialogue::InitialiserFenetres, VclDialogue::FinaliserFenetres},
      {"Patienc3", Patienc3::Initialiser, Patienc3::Finaliser},
      {"Patienc2", Patienc2::Initialiser, Patienc2::Finaliser},
      {"vclliste", vclliste::Initialiser, vclliste::Finaliser},
      {"Saisies", Saisies::Initialiser, Saisies::Finaliser},
      {"vclprint", vclprint::Initialiser, vclprint::Finaliser},
      {"DynaLibU", DynaLibU::Initialiser, DynaLibU::Finaliser},
      {"FicheProtocole", FicheProtocole::Initialiser, FicheProtocole::Finaliser},
      {"ListeSimpleProfilsServeur", nullptr, ListeSimpleProfilsServeur::Finaliser},
      {"Fiche", nullptr, Fiche::Finaliser},
  };
  return kTable;
}
