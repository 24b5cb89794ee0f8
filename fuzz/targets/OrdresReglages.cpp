// The orders of the base's settings that the server broadcasts: working days, base-wide parameters,
// general parameters, lunch service, hour labels and options, each read by its unit's handler with
// the size of its data; then the recomputations that the grid's words drive (lunch service
// adjustment, hour labels, visibilities), on a grid whose words come from the input.
//
// Input: three 16-bit grid words (places per day, days, hours per day), then orders, each as a unit
// byte (modulo 6), the low 16 bits of the code, a 32-bit parameter, a 16-bit length and that many
// bytes. Afterwards every label holds at most 6 characters, the options and lunch service hold
// together, and no request was sent (the client is in exclusive mode; orders apply locally).
#include <bit>
#include <vector>

#include "base/SupDemiPension.h"
#include "base/SupLibelleHeure.h"
#include "base/SupOption.h"
#include "base/SupParam.h"
#include "base/SupParametresGrille.h"
#include "core/objects/Exceptions.h"
#include "fuzz/BaseFuzz.h"
#include "fuzz/FuzzSupport.h"
#include "streams/ParametresBase.h"

namespace {

// The category of each unit's codes.
constexpr uint32_t kCategories[] = {0x80020000, 0x80010000, 0x80010000, 0x80030000, 0x80040000, 0x80050000};

void Appliquer(uint8_t Unite, uint32_t Code, int32_t Parametre, const std::vector<uint8_t>& Donnees) {
  const auto taille = static_cast<int32_t>(Donnees.size());
  // An empty order still hands a pointer that must not be read.
  const void* d = Donnees.empty() ? nullptr : Donnees.data();
  switch (Unite) {
    case 0: (void)ParametresBase::Parametres()->TraiterOrdreJoursOuvres(Code, taille, d, Parametre); break;
    case 1: (void)ParametresBase::Parametres()->TraiterOrdre(Code, taille, d); break;
    case 2: (void)SupParam::ExecuterOrdre(Code, Parametre, taille, d); break;
    case 3: (void)SupDemiPension::TraiterOrdre(Code, Parametre, taille, d); break;
    case 4: (void)SupLibelleHeure::TraiterOrdre(Code, taille, d); break;
    default: (void)SupOption::TraiterOrdre(Code, taille, d); break;
  }
}

void Reinitialiser() {
  SupParametresGrille::Initialiser();
  SupParam::Initialiser();
  SupParam::Parametres().GestionParEleves = 0;
  SupParam::Parametres().GestionEffectif = 0;
  SupDemiPension::Initialiser();
  SupLibelleHeure::Initialiser();
  SupOption::Initialiser();
  ParametresBase::Initialiser();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::TBaseOuverte base;
  Reinitialiser();
  Fuzz::TOctets entree(Data, Size);
  const uint16_t places = entree.Valeur<uint16_t>();
  const uint16_t jours = entree.Valeur<uint16_t>();
  const uint16_t heures = entree.Valeur<uint16_t>();
  SupParametresGrille::Definir(places, jours, heures);
  for (int n = 0; n < 32 && !entree.Fini(); ++n) {
    const uint8_t unite = entree.Octet() % 6;
    const uint32_t code = kCategories[unite] | entree.Valeur<uint16_t>();
    const int32_t parametre = entree.Valeur<int32_t>();
    const std::string_view octets = entree.Octets(entree.Valeur<uint16_t>());
    // A block of its own, so that a read past the data's end is caught.
    const std::vector<uint8_t> donnees(octets.begin(), octets.end());
    try {
      Appliquer(unite, code, parametre, donnees);
    } catch (const ENonConstruit&) {
      // Management by students and of head-counts reach the group composition, not built yet.
    }
  }
  SupDemiPension::AjusterDemiPension(true);
  SupLibelleHeure::AlignerVisibilites();
  SupLibelleHeure::CalculerLibellesHeure(0, 0, 1, true, SupLibelleHeure::Libelle(0, 1));
  SupLibelleHeure::CreerLibellesHeureParDefaut();

  for (int32_t r = 0; r <= 1; ++r)
    for (int32_t p = 0; p < SupLibelleHeure::kEntreesParRangee; ++p)
      Fuzz::Verifier(SupLibelleHeure::Entree(r, p)[0] <= SupLibelleHeure::kLongueurLibelle,
                     "no label holds more than 6 characters");
  const SupDemiPension::TypeDemiPension& d = SupDemiPension::DemiPension();
  const int32_t p = SupParametresGrille::Parametres().PlacesParJour;
  if (p >= 2)
    Fuzz::Verifier(d.DebutDemiPension < d.FinDemiPension && d.FinDemiPension <= static_cast<uint32_t>(p) &&
                       d.DureeServiceDemiPension >= 1 &&
                       d.DureeServiceDemiPension <= d.FinDemiPension - d.DebutDemiPension,
                   "the lunch service is brought back inside the grid");
  Fuzz::Verifier(ParametresBase::Parametres()->AppliquerOrdre(), "orders keep the loading mark they found");
  // The set keeps the byte the order gave; bit 0 stands for no day.
  const uint8_t ensemble = ParametresBase::Parametres()->GetJoursOuvres();
  Fuzz::Verifier(ParametresBase::Parametres()->NombreJoursOuvres() == std::popcount(static_cast<unsigned>(ensemble & 0xFE)),
                 "bit 0 of the working days counts no day");
  return 0;
}
