#include "ui/VclSaisiePort.h"

#include <algorithm>
#include <limits>

#include "core/objects/Exceptions.h"
#include "core/values/Format.h"
#include "objectdb/Traduction.h"
#include "platform/reseau/BaseServices.h"
#include "platform/ui/VclDialogue.h"
#include "ui/vclliste.h"

namespace VclSaisiePort {

namespace {

// Digits with an optional sign, saturated to 64 bits; false for any other text.
bool LireNombre(const std::string& Texte, int64_t& Valeur) {
  size_t i = 0;
  const bool negatif = !Texte.empty() && Texte[0] == '-';
  if (!Texte.empty() && (Texte[0] == '-' || Texte[0] == '+')) i = 1;
  if (i == Texte.size()) return false;
  uint64_t absolu = 0;
  const uint64_t limite = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  for (; i < Texte.size(); ++i) {
    if (Texte[i] < '0' || Texte[i] > '9') return false;
    const auto chiffre = static_cast<uint64_t>(Texte[i] - '0');
    absolu = absolu > (limite + 1 - chiffre) / 10 ? limite + 1 : absolu * 10 + chiffre;
  }
  if (negatif) Valeur = absolu > limite ? std::numeric_limits<int64_t>::min() : -static_cast<int64_t>(absolu);
  else Valeur = static_cast<int64_t>(std::min(absolu, limite));
  return true;
}

std::string SansBlancs(std::string Texte) {
  std::erase(Texte, ' ');
  return Texte;
}

void Signaler(const std::string& Texte) {
  (void)VclDialogue::AfficherMessage(true, Texte, "", VclDialogue::kInformationOuConfirmation, VclDialogue::kOk, true);
}

}  // namespace

uint8_t AnalyserPort(const std::string& Texte, const std::string& Protocole, int32_t NumeroProtocole, int64_t& Port) {
  if (!LireNombre(Texte, Port)) {
    std::optional<uint16_t> trouve;
    if (!Protocole.empty()) trouve = BaseServices::Chercher(Texte, Protocole);
    if (!trouve && NumeroProtocole != 0) trouve = BaseServices::Chercher(Texte, std::to_string(NumeroProtocole));
    if (!trouve) return kServiceNonTrouve;
    const uint16_t reseau = *trouve;
    const auto* octets = reinterpret_cast<const uint8_t*>(&reseau);
    Port = (octets[0] << 8) | octets[1];
  }
  if (Port >= 1 && Port <= 49151) return kPortReserve;
  if (Port >= 49152 && Port <= 65535) return kPortLibre;
  return kPortInvalide;
}

bool SaisirPort(std::string& Texte, uint8_t Protocole, TWinControl* Parent, bool DansCellule, int32_t Colonne,
                int32_t Ligne, const TRect& Rect, TypeToucheDeValidation& ToucheFinale, bool TexteLibre) {
  std::string nomProtocole;
  int32_t numeroProtocole = 0;
  if (Protocole == kUdp) nomProtocole = "udp", numeroProtocole = 17;
  else if (Protocole == kTcp) nomProtocole = "tcp", numeroProtocole = 6;
  const uint8_t typeDonnee = TexteLibre ? 0 : 5;
  bool valide;
  if (DansCellule) {
    auto* liste = dynamic_cast<TVokCustomList*>(Parent);
    if (!liste) throw EInvalidOperation("A port entry in a cell needs a list");
    valide = Saisies::EditerCellule(liste, typeDonnee, Colonne, Ligne, 30, 1, true, Saisies::TouchePourValiderParDefaut,
                                    ToucheFinale, Texte);
  } else {
    valide = Saisies::EditerZone(Parent, typeDonnee, Rect, 30, 1, 1, false, Saisies::TouchePourValiderParDefaut,
                                 ToucheFinale, Texte);
  }
  if (!valide) return false;
  Texte = SansBlancs(std::move(Texte));
  int64_t port = 0;
  switch (AnalyserPort(Texte, nomProtocole, numeroProtocole, port)) {
    case kServiceNonTrouve:
      Signaler(Format(Traduction::Traduire("VclSaisiePortFormatServiceNonTrouve"), {Texte}));
      return true;
    case kPortInvalide:
      Signaler(Format(Traduction::Traduire("VclSaisiePortFormatPortInvalide"), {port}));
      return false;
    case kPortReserve:
      Signaler(Format(Traduction::Traduire("VclSaisiePortFormatPortReserve"), {port}));
      return true;
    default:
      return true;
  }
}

bool SaisirPortDansZone(std::string& Texte, uint8_t Protocole, TWinControl* Parent, const TRect& Rect,
                        TypeToucheDeValidation& ToucheFinale, bool TexteLibre) {
  return SaisirPort(Texte, Protocole, Parent, false, 0, 0, Rect, ToucheFinale, TexteLibre);
}

}  // namespace VclSaisiePort
