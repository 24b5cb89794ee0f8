#include "net/FichierEnregistrements.h"

#include "core/diagnostics/Journal.h"

namespace {

int32_t& Statut() {
  static int32_t statut = 0;
  return statut;
}

// The crash log's file, kept open by these helpers between its opening and its closing.
class TFichierJournal final : public IFichierJournal {
 public:
  int32_t Ouvrir(const std::string& Nom, uint16_t Mode, int32_t TailleEnregistrement) override {
    FichierEnregistrements::OuvrirFichierEnregistrements(Nom, Mode, TailleEnregistrement, fichier_);
    return FichierEnregistrements::StatutFichierEnregistrements();
  }
  int32_t Creer(const std::string& Nom, uint16_t Mode, int32_t TailleEnregistrement) override {
    FichierEnregistrements::CreerFichierEnregistrements(Nom, Mode, TailleEnregistrement, fichier_);
    return FichierEnregistrements::StatutFichierEnregistrements();
  }
  void Positionner(int32_t Origine, int32_t Indice) override {
    FichierEnregistrements::PositionnerEnregistrement(fichier_, Origine, Indice);
  }
  void Ecrire(const void* Enregistrement) override {
    FichierEnregistrements::EcrireEnregistrement(fichier_, Enregistrement);
  }
  void Fermer() override { FichierEnregistrements::FermerFichierEnregistrements(fichier_); }

 private:
  TypeFichierEnregistrements fichier_;
};

TFichierJournal& FichierDuJournal() {
  static TFichierJournal fichier;
  return fichier;
}

}  // namespace

int32_t FichierEnregistrements::StatutFichierEnregistrements() { return Statut(); }

void FichierEnregistrements::OuvrirFichierEnregistrements(const std::string& Nom, uint16_t Mode,
                                                          int32_t TailleEnregistrement,
                                                          TypeFichierEnregistrements& Fichier) {
  try {
    Fichier.Flux = std::make_unique<TFileStream>(Nom, Mode);
  } catch (const EStreamError&) {
    Statut() = 1;
    return;
  }
  Fichier.TailleEnregistrement = TailleEnregistrement;
  Fichier.Mode = Mode;
  Statut() = 0;
}

void FichierEnregistrements::CreerFichierEnregistrements(const std::string& Nom, uint16_t Mode,
                                                         int32_t TailleEnregistrement,
                                                         TypeFichierEnregistrements& Fichier) {
  try {
    Fichier.Flux = std::make_unique<TFileStream>(Nom, fmCreate);
  } catch (const EStreamError&) {
    Statut() = 1;
    return;
  }
  FermerFichierEnregistrements(Fichier);
  OuvrirFichierEnregistrements(Nom, Mode, TailleEnregistrement, Fichier);
}

void FichierEnregistrements::FermerFichierEnregistrements(TypeFichierEnregistrements& Fichier) {
  Fichier.Flux.reset();
  Statut() = 0;
}

void FichierEnregistrements::EcrireEnregistrement(TypeFichierEnregistrements& Fichier, const void* Enregistrement) {
  if (!Fichier.Flux) throw EWriteError("Stream write error: the file is not open");
  Fichier.Flux->WriteBuffer(Enregistrement, Fichier.TailleEnregistrement);
}

void FichierEnregistrements::PositionnerEnregistrement(TypeFichierEnregistrements& Fichier, int32_t Origine,
                                                       int32_t Indice) {
  if (!Fichier.Flux) throw EStreamError("Stream seek error: the file is not open");
  const int64_t decalage = int64_t{Indice} * Fichier.TailleEnregistrement;
  switch (Origine) {
    case 0: Fichier.Flux->Seek(decalage, TSeekOrigin::soBeginning); break;
    case 1: Fichier.Flux->Seek(decalage, TSeekOrigin::soCurrent); break;
    case 2: Fichier.Flux->Seek(decalage, TSeekOrigin::soEnd); break;
    default: break;
  }
}

void FichierEnregistrements::Initialiser() { Journal::SetFichier(&FichierDuJournal()); }

void FichierEnregistrements::Finaliser() {
  Journal::SetFichier(nullptr);
  FichierDuJournal().Fermer();
}
