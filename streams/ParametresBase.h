// The base-wide parameters (first date of the school year, locked weeks, automatic closing, link with
// other classes, working days, HTML root file name, automatic export, modules and curricula) and the
// connected user's display settings. One object of each lives for the process. Setters follow the
// request pattern: applied locally while an order is applied or the base is read, or in exclusive
// mode; otherwise sent, the value changing when the server's order comes back.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/JoursOuvres.h"
#include "base/SupParam.h"
#include "core/values/DateTime.h"
#include "core/values/DomaineHebdomadaire.h"

struct TParametresExportAutoBulvera {
  std::string Texte;
  bool Actif = false;
  uint8_t Octet = 0;
  TDateTime Heure = 0.75;  // 18:00
  int32_t Entier = 12;
};

class TParametresBase final : public IParametresBaseOrdres {
 public:
  static constexpr uint32_t kPremiereDate = 0x80010000;
  static constexpr uint32_t kDomaineVerrouillage = 0x80010001;
  static constexpr uint32_t kClotureAutomatique = 0x80010700;
  static constexpr uint32_t kLienSelonAutresClasses = 0x80010B00;
  static constexpr uint32_t kParametresExportAuto = 0x80010C00;
  static constexpr uint32_t kActivationModulesEtCursus = 0x80010D00;
  // The export record as the request carries it: the text reference (always 0, ignored on receipt)
  // at 0, the Boolean at 4, the byte at 5, the time of day at 8, the integer at 16.
  static constexpr int32_t kTailleExportAuto = 24;

  TParametresBase();
  ~TParametresBase() override;
  TParametresBase(const TParametresBase&) = delete;
  TParametresBase& operator=(const TParametresBase&) = delete;

  bool Modifie() const { return modifie_ != 0; }
  bool AppliquerOrdre() const { return appliquerOrdre_ != 0; }
  TDateTime PremiereDate() const { return premiereDate_; }
  const TypeDomaineHebdomadaire& DomaineVerrouillage() const { return domaineVerrouillage_; }
  uint8_t ClotureAutomatique() const { return clotureAutomatique_; }
  uint8_t LienSelonAutresClasses() const { return lienSelonAutresClasses_; }
  const TParametresExportAutoBulvera& ExportAuto() const { return exportAuto_; }
  uint8_t ActivationModulesEtCursus() const { return activationModulesEtCursus_; }
  TJoursOuvres& JoursOuvres() { return *joursOuvres_; }
  const TJoursOuvres& JoursOuvres() const { return *joursOuvres_; }

  void ModifierPremiereDate(TDateTime Date);
  void ModifierDomaineVerrouillage(const TypeDomaineHebdomadaire& Semaines);
  void ModifierClotureAutomatique(uint8_t Valeur);
  void ModifierLienSelonAutresClasses(uint8_t Valeur);
  void ModifierParametresExportAuto(const TParametresExportAutoBulvera& Export);
  void ModifierActivationModulesEtCursus(uint8_t Valeur) override;

  // Applies an order of the parameters above (Taille bytes of Donnees); data shorter than the code's
  // value, or another code, answers False and changes nothing. The loading mark is kept.
  bool TraiterOrdre(uint32_t Code, int32_t Taille, const void* Donnees) override;
  // Forwards an order of the working days; the grid follows the days once they are stored.
  bool TraiterOrdreJoursOuvres(uint32_t Code, int32_t Taille, const void* Donnees, int32_t Parametre);
  void SetModifie(bool Valeur);
  void DefinirAppliquerOrdre(bool Valeur);
  // A base is being read (nested reads count): the setters apply locally, change no other table and
  // mark nothing modified; the end of the outermost read clears AppliquerOrdre.
  void DefinirChargement(bool Valeur);
  bool EnChargement() const { return chargement_ > 0; }
  TDateTime DerniereDate() const { return premiereDate_ + 364; }
  void VerrouillerSemainesEcoulees();

  const std::string& FichierRacineHTML() const override { return fichierRacineHTML_; }
  void DefinirFichierRacineHTML(const std::string& Nom) override { fichierRacineHTML_ = Nom; }

  // Working days.
  uint8_t GetJoursOuvres() const { return joursOuvres_->Jours(); }
  // Changes the set; once it is stored, the grid gets one day per working day.
  void DefinirJoursOuvres(uint8_t Jours);
  int32_t NombreJoursOuvres() const { return joursOuvres_->NombreJoursOuvres(); }
  int32_t JourDeLaPlace(int32_t Place) const { return joursOuvres_->JourDeLaPlace(Place); }
  int32_t PremierJourOuvre() const { return joursOuvres_->PremierJourOuvre(); }
  int32_t DernierJourOuvre() const { return joursOuvres_->DernierJourOuvre(); }
  int32_t JourOuvre(int32_t Rang) const { return joursOuvres_->JourOuvre(Rang); }
  int32_t RangJourOuvre(int32_t Jour) const { return joursOuvres_->RangJourOuvre(Jour, 1); }
  bool EstJourOuvreDate(TDateTime Date) const { return joursOuvres_->EstJourOuvreDate(Date); }
  int32_t PlageJoursOuvres(int32_t Debut, int32_t Fin, int32_t Reference, int32_t& RangDernier,
                           int32_t& RangPremier) const {
    return joursOuvres_->PlageJoursOuvres(Debut, Fin, Reference, RangDernier, RangPremier);
  }
  int32_t PlageJoursOuvresAutour(int32_t n, bool Apres, int32_t Reference, int32_t& RangDernier,
                                 int32_t& RangPremier) const {
    return joursOuvres_->PlageJoursOuvresAutour(n, Apres, Reference, RangDernier, RangPremier);
  }

 private:
  // Common steps: unchanged does nothing; locally `Stocker` runs and the object is marked modified;
  // otherwise the request is sent.
  void Modifier(uint32_t Code, bool Inchange, int32_t Taille, const void* Donnees, bool Genre,
                const std::function<void()>& Stocker);
  bool Local() const;
  void AjusterGrille();

  uint8_t modifie_ = 0;
  uint8_t appliquerOrdre_ = 1;
  int32_t chargement_ = 0;
  TDateTime premiereDate_ = 0;
  TypeDomaineHebdomadaire domaineVerrouillage_;
  uint8_t clotureAutomatique_ = 0;
  uint8_t lienSelonAutresClasses_ = 0;
  std::unique_ptr<TJoursOuvres> joursOuvres_;
  std::string fichierRacineHTML_;
  TParametresExportAutoBulvera exportAuto_;
  uint8_t activationModulesEtCursus_ = 0;
};

// The connected user's display settings.
class TParametresUtilisateur {
 public:
  explicit TParametresUtilisateur(const TParametresBase& Base);

  bool Modifie() const { return modifie_ != 0; }
  void SetModifie(bool Valeur) { modifie_ = Valeur ? 1 : 0; }
  int32_t PremierJourAffiche() const { return premierJourAffiche_; }
  int32_t DernierJourAffiche() const { return dernierJourAffiche_; }
  int32_t NombreJoursAffiches() const { return nombreJoursAffiches_; }
  // Accepted only for a working day.
  void SetPremierJourAffiche(int32_t Jour);
  void SetDernierJourAffiche(int32_t Jour);
  // Cut to the number of working days.
  void SetNombreJoursAffiches(int32_t Nombre);
  // Option bytes 1 to 11 (bytes 4 to 7 are options 4 to 7) and ChoixSemainesHeures.
  uint8_t Option(int32_t n) const;
  void SetOption(int32_t n, uint8_t Valeur);
  uint8_t ChoixSemainesHeures() const { return choixSemainesHeures_; }
  void SetChoixSemainesHeures(uint8_t Valeur);

 private:
  void Changer(uint8_t& Champ, uint8_t Valeur);

  const TParametresBase& base_;
  uint8_t modifie_ = 0;
  uint8_t premierJourAffiche_;
  uint8_t dernierJourAffiche_;
  int32_t nombreJoursAffiches_;
  uint8_t options_[12] = {0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 1, 15};  // index 0 unused
  uint8_t choixSemainesHeures_ = 1;
};

namespace ParametresBase {

inline constexpr uint32_t CategorieJoursOuvres = 0x20000;

// The process-wide objects; nil before start-up and after shut-down.
TParametresBase*& Parametres();
TParametresUtilisateur*& ParametresUtilisateur();
// The process-wide working days that are not shared with the server.
TJoursOuvres*& JoursOuvresLocaux();
// Shows a translated message to the user; the desktop toolkit installs its own. With none installed
// the message goes to the trace.
std::function<void(const std::string& Texte)>& AfficherMessage();

void Initialiser();
void Finaliser();

}  // namespace ParametresBase
