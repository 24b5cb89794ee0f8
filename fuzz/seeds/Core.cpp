// Seeds of the core library's readers: objects and arrays as they serialise themselves, the cipher of
// texts, debug images, memory sets, code pages and formats.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "fuzz/seeds/Semences.h"
#include "core/arrays/ArrayOfTObject.h"
#include "core/objects/Erreur.h"
#include "core/records/Memoire.h"
#include "core/values/Ansi1252.h"
#include "core/values/ChaineUnicode.h"
#include "core/values/Codage.h"
#include "fuzz/InstancesTableaux.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/columns/ChampString.h"
#include "tests/core/diagnostics/ImageDebugEssai.h"

namespace Semences {
namespace {

// A few elements of each element type, unsorted, with a duplicate.
template <class T>
std::vector<T> Exemples() {
  if constexpr (std::is_same_v<T, bool>) return {true, false, true};
  else if constexpr (std::is_arithmetic_v<T>) return {T(5), T(2), T(7), T(2)};
  else if constexpr (std::is_same_v<T, std::string>) return {"poire", "Pomme", std::string("pêche"_ansi), "poire"};
  else if constexpr (std::is_same_v<T, std::u16string>) return {u"\u0416\u0443\u043a", u"abc", u"\u0416\u0443\u043a"};
  else if constexpr (std::is_same_v<T, TObject*>) return {new TCustomCodage("code"), nullptr, new TErreur("erreur")};
  else if constexpr (std::is_same_v<T, const TClass*>) return {TErreur::StaticClass(), TArrayOfInteger::StaticClass()};
  else if constexpr (std::is_same_v<T, TypeDureeStockee>) return {{1.5, nullptr}, {-0.25, nullptr}, {1e300, nullptr}};
  else if constexpr (std::is_same_v<T, TypeItemInfoAcces>) return {{TErreur::StaticClass(), 3, nullptr}, {nullptr, 1, nullptr}};
  else if constexpr (std::is_same_v<T, TypeNomTypeEtClasseChamp>)
    return {{"INTEGER", TChampInteger::StaticClass()}, {std::string("Durée"_ansi), nullptr}, {"STRING", TChampString::StaticClass()}};
  else return {T{}, T{}};
}

// One seed per class, in the plain and the sized layout by turns.
void SemencesTableaux() {
  Fuzz::TTableauxLisibles::PourChacun([]<class A>(std::size_t Rang) {
    using T = typename A::T;
    const auto disposition = static_cast<uint8_t>(Rang % 2);
    std::unique_ptr<A> a(static_cast<A*>(A::StaticClass()->Creer(4, true, std::is_same_v<T, TObject*>)));
    for (const T& v : Exemples<T>()) a->SetElementPosition(v, a->GetNombreTotalElements() + 1);
    const Octets flux = Flux(disposition, [&](TBinaryFormatter& f) { a->Ecrire(&f, nullptr); });
    Ecrire("TemplateArray", A::StaticClass()->ClassName(),
           Octets{static_cast<uint8_t>(Rang), disposition, static_cast<uint8_t>(Rang * 37)} + flux);
  });
}

void SemencesObjets() {
  auto* arbre = new TErreur("racine");
  (new TErreur("fille"))->AjouterA(arbre);
  TArrayOfTObject liste(4, true, true);
  liste.Ajouter(arbre);
  liste.Ajouter(new TCustomCodage("secret"));
  liste.Ajouter(nullptr);
  auto* nombres = new TPagedArrayOfInteger(2, true, false);
  for (int32_t v : {3, 1, 4, 1, 5}) nombres->Ajouter(v);
  liste.Ajouter(nombres);
  for (uint8_t mode : {0, 1, 2, 3})
    Ecrire("LireObjet", "liste-" + std::to_string(mode),
           Octets{mode} + Flux(mode, [&](TBinaryFormatter& f) { f.EcrireObjet(&liste, nullptr); }));
  Ecrire("LireObjet", "nil", Octets{0} + Flux(0, [](TBinaryFormatter& f) { f.EcrireObjet(nullptr, nullptr); }));
}

void SemencesCodage() {
  TCustomCodage codage("motdepasse");
  for (uint8_t disposition : {0, 1})
    Ecrire("Codage", disposition ? "sized" : "plain",
           Octets{disposition, 4} + Texte("1234") + Octets{5} + Texte("texte") +
               Flux(disposition, [&](TBinaryFormatter& f) { codage.Ecrire(&f, nullptr); }));
}

void SemencesDebug() {
  Ecrire("Debug", "image", Octets{64} + ImageDebugEssai::ImageEssai().Octets);
}

void SemencesMemoire() {
  TypeEnsembleMemoire a, b;
  Memoire::Initialiser(a);
  Memoire::Initialiser(b);
  for (uint32_t v : {9u, 3u, 0xFFFFFFFFu, 12u, 0u, 7u, 5u}) Memoire::Inserer(v, a);
  for (uint32_t v : {3u, 4u, 12u}) Memoire::Ajouter(v, b);
  auto bloc = [](const TypeEnsembleMemoire& e) {
    std::size_t taille = 0;
    void* tampon = nullptr;
    Memoire::VersTampon(e, taille, tampon);
    Octets o(static_cast<uint8_t*>(tampon), static_cast<uint8_t*>(tampon) + taille);
    Memoire::Desallouer(tampon, taille);
    return o;
  };
  Ecrire("Memoire", "deux-ensembles", bloc(a) + bloc(b));
  Memoire::Liberer(a);
  Memoire::Liberer(b);
}

void SemencesChaineUnicode() {
  const std::u16string texte = u"Déjà vu \u20AC \u0416 \u65E5\u672C \U0001F600";
  const std::pair<uint8_t, int32_t> pages[] = {{0, 0}, {2, ChaineUnicode::CP_US_ASCII}, {3, ChaineUnicode::CP_UTF8},
                                               {5, 1251}, {8, 932}};
  for (const auto& [rang, page] : pages)
    Ecrire("ChaineUnicode", "page-" + std::to_string(page), Octets{rang} + Texte(ChaineUnicode::DepuisUnicode(texte, page)));
}

void SemencesFormat() {
  const char* formats[] = {"%s: %u bytes at offset %u lie beyond its %u bytes", "[ebp-%.8X] %-*s = %s",
                           "%1:s %0:d %%", "%5d|%-5d|%.3d", "%.2f %e %g %n %m", "%p %x %*.*f"};
  int i = 0;
  for (const char* format : formats) {
    const Octets genres = i % 2 ? Octets{3, 0, 1, 2} : Octets{0, 3, 2, 4};
    Ecrire("Format", "format-" + std::to_string(i++),
           genres + Valeur<int64_t>(-42) + Valeur<uint64_t>(7) + Valeur(3.14159) + Valeur<uint64_t>(12) + Texte(format));
  }
}

}  // namespace

void Core() {
  SemencesObjets();
  SemencesTableaux();
  SemencesCodage();
  SemencesDebug();
  SemencesMemoire();
  SemencesChaineUnicode();
  SemencesFormat();
}

}  // namespace Semences
