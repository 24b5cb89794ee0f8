#include "core/values/Times.h"

#include <algorithm>

#include "core/objects/ClasseFinalisable.h"
#include "core/objects/Exceptions.h"
#include "core/values/Format.h"

namespace Times {

namespace {

char Chiffre(uint64_t n) { return static_cast<char>('0' + n % 10); }

// The magnitude of a signed 64-bit value, exact for the most negative one.
uint64_t Magnitude(int64_t v) { return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v); }

}  // namespace

std::string FormaterNombre(std::string_view Picture, uint64_t N) {
  constexpr auto npos = std::string_view::npos;
  const std::size_t premiereEtoile = Picture.find('*');
  std::string envers;  // the text, built from its right end
  int64_t i = static_cast<int64_t>(Picture.size()) - 1;
  while (N > 0 || i >= 0) {
    const char c = i >= 0 ? Picture[static_cast<std::size_t>(i)] : '*';
    switch (c) {
      case '0':
        envers += Chiffre(N);
        N /= 10;
        break;
      case '#':
        envers += N != 0 ? Chiffre(N) : ' ';
        N /= 10;
        break;
      case '*':
        if (N != 0) {
          envers += Chiffre(N);
          N /= 10;
          // N used up: the remaining stars write nothing, go on left of the first one.
          if (N == 0 && premiereEtoile != npos) {
            i = std::min(i, static_cast<int64_t>(premiereEtoile)) - 1;
            continue;
          }
        }
        break;
      case '[':
        break;
      case ']':
        // N used up: the bracketed section is dropped.
        if (N == 0) {
          const std::size_t ouvrant = Picture.rfind('[', static_cast<std::size_t>(i));
          if (ouvrant != npos) {
            i = static_cast<int64_t>(ouvrant) - 1;
            continue;
          }
        }
        break;
      default:
        envers += c;
    }
    --i;
  }
  return std::string(envers.rbegin(), envers.rend());
}

void Initialiser() {
  SeparateurHeures.assign(1, '.');
  SeparateurDecimal = std::string(1, FormatSettingsFixes.DecimalSeparator);
  TracerModule("Initialisation du module Times.");
}

}  // namespace Times

namespace {

// n below 100.
std::string DeuxChiffres(uint64_t n) {
  std::string texte(2, '0');
  texte[0] = static_cast<char>('0' + n / 10 % 10);
  texte[1] = static_cast<char>('0' + n % 10);
  return texte;
}

// Text in front of another (appending only: GCC 12 misreads the inserting forms at -O3).
std::string Devant(std::string_view avant, const std::string& texte) {
  std::string resultat(avant);
  resultat += texte;
  return resultat;
}

// 7654321 gives "7 654 321".
std::string GroupesDeMilliers(uint64_t n) {
  const std::string chiffres = std::to_string(n);
  std::string texte;
  for (std::size_t i = 0; i < chiffres.size(); ++i) {
    if (i > 0 && (chiffres.size() - i) % 3 == 0) texte += ' ';
    texte += chiffres[i];
  }
  return texte;
}

}  // namespace

void TCustomTime::FormaterDuree(int32_t Mode, std::string_view Separateur, int64_t Secondes,
                                std::string_view FormatHeures, std::string_view FormatMinutes,
                                std::string_view FormatSecondes, std::string& Texte) {
  const uint64_t total = Times::Magnitude(Secondes);
  const uint64_t h = total / 3600, m = (total % 3600) / 60, s = total % 60;
  if (FormatHeures.empty()) FormatHeures = "0";
  if (FormatMinutes.empty()) FormatMinutes = "00";
  if (FormatSecondes.empty()) FormatSecondes = "00";
  const std::string sep(Separateur);
  switch (Mode) {
    case 0:
      Texte = Times::FormaterNombre(FormatHeures, h) + sep + Times::FormaterNombre(FormatMinutes, m) + sep +
              Times::FormaterNombre(FormatSecondes, s);
      break;
    case 1:
      Texte = Times::FormaterNombre(FormatHeures, h) + sep + Times::FormaterNombre(FormatMinutes, m);
      break;
    case 2: {
      const uint64_t centiemes = ((m * 60 + s) * 100) / 3600;
      Texte = Times::FormaterNombre(FormatHeures, h) + (sep.empty() ? std::string(",") : sep) +
              Times::FormaterNombre(FormatMinutes, centiemes);
      break;
    }
    default:
      break;
  }
  if (Secondes < 0) Texte = Devant("-", Texte);
}

void TCustomTime::FormaterDureeEnMinutes(std::string_view Prefixe, bool EnCentiemes, int64_t Secondes, bool AvecUnite,
                                         std::string& Texte, std::string_view Separateur, bool GrouperMilliers) {
  const std::string sep = Separateur.empty() ? Times::SeparateurHeures : std::string(Separateur);
  const uint64_t secondes = Times::Magnitude(Secondes);
  const uint64_t minutesTotales = secondes / 60 + (secondes % 60 > 30 ? 1 : 0);
  const uint64_t h = minutesTotales / 60, m = minutesTotales % 60;
  std::string texte = GrouperMilliers ? GroupesDeMilliers(h) : std::to_string(h);
  if (EnCentiemes) {
    texte += Times::SeparateurDecimal + DeuxChiffres((m * 10) / 6);
  } else {
    texte += sep + DeuxChiffres(m);
    if (AvecUnite) texte += "mn00s";
  }
  if (h < 10) texte = Devant(Prefixe, texte);
  if (Secondes < 0) texte = Devant("-", texte);
  Texte = std::move(texte);
}

void TCustomTime::MinutesEnTexte(int32_t Minutes, std::string& Texte) {
  const uint64_t n = Times::Magnitude(Minutes);
  std::string texte(Minutes < 0 ? "-" : "");
  texte += std::to_string(n / 60);
  texte += Times::SeparateurHeures;
  texte += DeuxChiffres(n % 60);
  Texte = std::move(texte);
}

int32_t TCustomTime::CentiemesEnMinutes(int32_t N) {
  const int64_t n = Times::Magnitude(N);
  const int64_t minutes = (n / 100) * 60 + ((n % 100) * 60 + 50) / 100;
  return static_cast<int32_t>(N < 0 ? -minutes : minutes);
}

int32_t TCustomTime::MinutesEnCentiemes(int32_t N) {
  const int64_t n = Times::Magnitude(N);
  const int64_t centiemes = (n / 60) * 100 + ((n % 60) * 100 + 30) / 60;
  return static_cast<int32_t>(N < 0 ? -centiemes : centiemes);
}

TDateTime TCustomTime::HeureEnTDateTime(int32_t Heure, int32_t Minute) {
  if (static_cast<uint16_t>(Heure) > 23) return 1.0;
  if (Minute < 0 || Minute > 59) throw EConvertError("Invalid argument to time encode");
  return DateTime::EncodeTime(static_cast<unsigned>(static_cast<uint16_t>(Heure)), static_cast<unsigned>(Minute), 0, 0);
}
