#include "streams/SauvegardeurTLV.h"

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/values/Ansi1252.h"
#include "core/values/Format.h"
#include "net/protocol/PetitBoutiste.h"

namespace {

constexpr std::string_view kNomVide = "EcrireTLV : écriture d'une propriété de nom vide"_ansi;
constexpr std::string_view kTagInconnu = "Tag de type %d inconnu dans EcrireTLV";
constexpr std::string_view kEnteteNonRespecte = "Header \"%s\" non respecté, trouvé $%s"_ansi;
constexpr std::string_view kNombreNegatif = "Corruption : header indique %d propriétés"_ansi;
constexpr std::string_view kNomLuVide = "Corruption : nom de propriété vide"_ansi;
constexpr std::string_view kTailleNegative = "Corruption : taille de propriété vide"_ansi;
constexpr std::string_view kTropProfond = "Corruption : imbrication trop profonde";

using TValeurProp = TProprietes::TValeurProp;

// ---------------------------------------------------------------------------------------------
// Writing

void EcrireEntier(TStream& Flux, int32_t Valeur) {
  uint8_t octets[4];
  PetitBoutiste::EcrireCardinal(octets, static_cast<uint32_t>(Valeur));
  Flux.WriteBuffer(octets, 4);
}

// A length of the format: what does not fit in 31 bits cannot be written.
int32_t Longueur(std::size_t Taille) {
  if (Taille > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) throw EWriteError("Stream write error");
  return static_cast<int32_t>(Taille);
}

// A value with its size before it.
void EcrireValeur(TStream& Flux, const void* Octets, std::size_t Taille) {
  const int32_t n = Longueur(Taille);
  EcrireEntier(Flux, n);
  Flux.WriteBuffer(Octets, n);
}

void EcrireDocument(const TProprietes& Arbre, TStream& Flux, int32_t Profondeur) {
  if (Profondeur > FormatTLV::kImbricationMaximale) throw EExceptionSauvegardeurTLV(std::string(kTropProfond));
  Flux.WriteBuffer(FormatTLV::kEntete.data(), static_cast<int64_t>(FormatTLV::kEntete.size()));
  EcrireEntier(Flux, Arbre.Nombre());
  for (int32_t i = 0; i < Arbre.Nombre(); ++i) {
    std::string_view nom;
    TypeValeurProp v;
    Arbre.Element(i, nom, v);
    if (nom.empty()) throw EExceptionSauvegardeurTLV(std::string(kNomVide));
    if (v.Genre > tvBlob) throw EExceptionSauvegardeurTLV(Format(kTagInconnu, {static_cast<int32_t>(v.Genre)}));
    EcrireEntier(Flux, Longueur(nom.size()));
    Flux.WriteBuffer(nom.data(), static_cast<int64_t>(nom.size()));
    const auto tag = static_cast<uint8_t>(v.Genre);
    Flux.WriteBuffer(&tag, 1);
    switch (v.Genre) {
      case tvEntier:
      case tvCardinal: {
        uint8_t octets[4];
        PetitBoutiste::EcrireCardinal(octets, v.Genre == tvEntier ? static_cast<uint32_t>(v.Entier) : v.Cardinal);
        EcrireValeur(Flux, octets, 4);
        break;
      }
      case tvHuitOctets: EcrireValeur(Flux, v.HuitOctets.data(), v.HuitOctets.size()); break;
      case tvEtendu: EcrireValeur(Flux, v.Etendu.data(), v.Etendu.size()); break;
      case tvChaine: EcrireValeur(Flux, v.Chaine.data(), v.Chaine.size()); break;
      case tvBooleen: EcrireValeur(Flux, &v.Booleen, 1); break;
      case tvProprietes: EcrireDocument(*v.Proprietes, Flux, Profondeur + 1); break;
      case tvEnsemble: EcrireValeur(Flux, v.Ensemble.data(), v.Ensemble.size()); break;
      case tvBlob: EcrireValeur(Flux, v.Blob.data(), v.Blob.size()); break;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Reading

int32_t LireEntier(TStream& Flux) {
  uint8_t o[4];
  Flux.ReadBuffer(o, 4);
  return static_cast<int32_t>(PetitBoutiste::LireCardinal(o));
}

// A length read from the document must fit in what the stream still holds: checked before the
// bytes are allocated or passed over, so that no stored length can make the reader allocate or seek
// beyond its input.
void VerifierRestant(TStream& Flux, int32_t Taille) {
  if (Taille > Flux.Remaining()) throw EReadError("Stream read error");
}

std::string Hexadecimal(const char* Octets, std::size_t n) {
  static constexpr char kChiffres[] = "0123456789ABCDEF";
  std::string s;
  for (std::size_t i = 0; i < n; ++i) {
    const auto o = static_cast<uint8_t>(Octets[i]);
    s += kChiffres[o >> 4];
    s += kChiffres[o & 0x0F];
  }
  return s;
}

template <std::size_t N>
std::array<uint8_t, N> LireOctets(TStream& Flux) {
  std::array<uint8_t, N> a;
  Flux.ReadBuffer(a.data(), N);
  return a;
}

int32_t Ajout(int32_t a, int32_t b) {
  const int64_t s = int64_t{a} + b;
  return s > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(s);
}

// A value of a known kind other than a sub-tree, of Taille bytes (already checked against the stream).
std::unique_ptr<TValeurProp> LireValeur(TStream& Flux, TGenreValeurProp Genre, int32_t Taille) {
  switch (Genre) {
    case tvEntier: return TValeurProp::Create(TProprietes::ValeurEntier(LireEntier(Flux)));
    case tvCardinal: return TValeurProp::Create(TProprietes::ValeurCardinal(static_cast<uint32_t>(LireEntier(Flux))));
    case tvHuitOctets: return TValeurProp::Create(TProprietes::ValeurHuitOctets(LireOctets<8>(Flux)));
    case tvEtendu: return TValeurProp::Create(TProprietes::ValeurEtendu(LireOctets<10>(Flux)));
    case tvBooleen: return TValeurProp::Create(TProprietes::ValeurBooleen(LireOctets<1>(Flux)[0]));
    case tvEnsemble: {
      const auto octets = LireOctets<32>(Flux);
      return TValeurProp::CreateEnsemble(octets.data(), 32);
    }
    case tvChaine: {
      std::string texte(static_cast<std::size_t>(Taille), '\0');
      Flux.ReadBuffer(texte.data(), Taille);
      return TValeurProp::CreateChaine(std::move(texte));
    }
    default: {
      std::vector<uint8_t> bloc(static_cast<std::size_t>(Taille));
      Flux.ReadBuffer(bloc.data(), Taille);
      return TValeurProp::CreateBlob(std::move(bloc));
    }
  }
}

int32_t LireDocument(TProprietes& Arbre, TStream& Flux, int32_t Profondeur) {
  Arbre.Vider();
  if (Profondeur > FormatTLV::kImbricationMaximale) throw EExceptionSauvegardeurTLV(std::string(kTropProfond));
  char entete[FormatTLV::kEntete.size()];
  Flux.ReadBuffer(entete, sizeof entete);
  if (std::string_view(entete, sizeof entete) != FormatTLV::kEntete)
    throw EExceptionSauvegardeurTLV(Format(kEnteteNonRespecte, {FormatTLV::kEntete, Hexadecimal(entete, sizeof entete)}));
  const int32_t nombre = LireEntier(Flux);
  if (nombre < 0) throw EExceptionSauvegardeurTLV(Format(kNombreNegatif, {nombre}));
  int32_t inconnues = 0;
  for (int32_t i = 0; i < nombre; ++i) {
    const int32_t longueur = LireEntier(Flux);
    if (longueur <= 0) throw EExceptionSauvegardeurTLV(std::string(kNomLuVide));
    VerifierRestant(Flux, longueur);
    std::string nom(static_cast<std::size_t>(longueur), '\0');
    Flux.ReadBuffer(nom.data(), longueur);
    const auto genre = static_cast<TGenreValeurProp>(LireOctets<1>(Flux)[0]);
    std::unique_ptr<TValeurProp> valeur;
    if (genre == tvProprietes) {
      auto sousArbre = std::make_unique<TProprietes>();
      inconnues = Ajout(inconnues, LireDocument(*sousArbre, Flux, Profondeur + 1));
      valeur = TValeurProp::CreateProprietes(std::move(sousArbre));
    } else {
      const int32_t taille = LireEntier(Flux);
      if (taille < 0) throw EExceptionSauvegardeurTLV(std::string(kTailleNegative));
      VerifierRestant(Flux, taille);
      // An unknown kind, or a known kind of an unexpected size, is passed over; only the first counts.
      const bool inconnu = genre > tvBlob;
      if (inconnu || (FormatTLV::kTailleFixe[genre] >= 0 && taille != FormatTLV::kTailleFixe[genre])) {
        Flux.Seek(taille, TSeekOrigin::soCurrent);
        if (inconnu) inconnues = Ajout(inconnues, 1);
        continue;
      }
      valeur = LireValeur(Flux, genre, taille);
    }
    Arbre.AjouterProp(nom, std::move(valeur), false);
  }
  return inconnues;
}

}  // namespace

void TSauvegardeurTLV::EcrireTLV(const TProprietes* Proprietes, TStream& Flux) {
  if (Proprietes != nullptr) EcrireDocument(*Proprietes, Flux, 1);
}

int32_t TSauvegardeurTLV::LireTLV(TProprietes& Proprietes, TStream& Flux) { return LireDocument(Proprietes, Flux, 1); }
