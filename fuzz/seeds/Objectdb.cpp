// Seeds of the object database's readers: bases, durations, language modules, typed parameters, published
// properties and index arrays.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/seeds/Semences.h"
#include "core/objects/Erreur.h"
#include "core/values/ChaineRessource.h"
#include "objectdb/arrays/TableauIndices.h"
#include "objectdb/bases/Base.h"
#include "objectdb/durations/FormateurDuree.h"
#include "objectdb/parameters/ParametreBooleen.h"
#include "objectdb/parameters/ParametreCardinal.h"
#include "objectdb/parameters/ParametreDouble.h"
#include "objectdb/parameters/ParametreDuree.h"
#include "objectdb/parameters/ParametreInt64.h"
#include "objectdb/parameters/ParametreInteger.h"
#include "objectdb/parameters/ParametreInterface.h"
#include "objectdb/parameters/ParametreObject.h"
#include "objectdb/parameters/ParametreReal.h"
#include "objectdb/parameters/ParametreReferenceArticle.h"
#include "objectdb/parameters/ParametreSingle.h"
#include "objectdb/parameters/ParametreString.h"
#include "objectdb/parameters/ParametreTDateTime.h"
#include "objectdb/parameters/ParametreWideString.h"
#include "objectdb/properties/ProprietePubliee.h"
#include "platform/ressources/FormatModule.h"

namespace Semences {
namespace {

void SemencesBases() {
  TBase base("Ecole", true);
  for (uint8_t mode : {0, 1, 2, 3})
    Ecrire("LireObjet", "base-" + std::to_string(mode),
           Octets{mode} + Flux(mode, [&](TBinaryFormatter& f) { f.EcrireObjet(&base, nullptr); }));
}

void SemencesDuree() {
  TFormateurDureePourDebogage formateur;
  int i = 0;
  for (double d : {1.5, -2.0 / 3, 12345.678901234, 1e-7, 0.0}) {
    std::string texte;
    formateur.DureeEnTexte(d, texte);
    Ecrire("Duree", "duree-" + std::to_string(i++), Valeur(d) + Valeur(d * 3) + Texte(texte));
  }
}

// A module, its "CHAINES" text, the program's resource-string map and a "Config.lng".
void SemencesModuleLangue() {
  const std::string chaines = "<chaines>\r\n<chaine cle=\"Cl&amp;e\">Texte &lt;b&gt;\r\nété</chaine>\r\n"
                              "<chaine cle=\"Autre\">x</chaine>\r\n</chaines>";
  Ecrire("ModuleLangue", "module", Octets{0} + Texte(FormatModule::Ecrire({{"CHAINES", chaines}, {"DRC", "x"}})));
  Ecrire("ModuleLangue", "chaines", Octets{1} + Texte(chaines));
  Ecrire("ModuleLangue", "drc", Octets{2} + Texte(ChaineRessource::TexteDRC()));
  Ecrire("ModuleLangue", "config", Octets{3} + Texte("fr-FR=fr.lng\r\nCheminMiseAJour=http://h/l/\r\nDefaut=en.lng"));
}

void SemencesParametres() {
  // In the target's order of classes.
  std::vector<std::unique_ptr<TCustomParametre>> p;
  auto ajouter = [&](TCustomParametre* Parametre, int32_t Etiquette) {
    Parametre->Etiquette = Etiquette;
    p.emplace_back(Parametre);
  };
  auto* b = new TParametreBooleen("actif", false);
  b->SetValeur(true);
  ajouter(b, 1);
  auto* c = new TParametreCardinal("cle", false);
  c->SetValeur(0xFFFFFFFEu);
  ajouter(c, 2);
  auto* i = new TParametreInteger("nombre", false);
  i->SetValeur(-40);
  ajouter(i, -3);
  auto* l = new TParametreInt64("grand", false);
  l->SetValeur(int64_t{1} << 40);
  ajouter(l, 4);
  auto* d = new TParametreDouble("taux", false);
  d->SetValeur(0.1);
  ajouter(d, 5);
  auto* r = new TParametreReal("reel", false);
  r->SetValeur(-1e300);
  ajouter(r, 6);
  auto* s = new TParametreSingle("simple", false);
  s->SetValeur(1.5f);
  ajouter(s, 7);
  auto* t = new TParametreTDateTime("debut", false);
  t->SetValeur(45000.75);
  ajouter(t, 8);
  auto* u = new TParametreDuree("duree", false);
  u->SetValeur({2.5, nullptr});
  ajouter(u, 9);
  auto* x = new TParametreString("texte", false);
  x->SetValeur("d\xE9j\xE0");
  ajouter(x, 10);
  auto* w = new TParametreWideString("large", false);
  w->SetValeur(u"\u20AC\u0416");
  ajouter(w, 11);
  auto* o = new TParametreObject("objet", false);
  auto* interne = new TParametreString("interne", false);
  interne->SetValeur("dedans");
  o->SetValeur(interne);
  ajouter(o, 12);
  ajouter(new TParametreInterface("interface", false), 13);
  ajouter(new TParametreReferenceArticle("reference", false), 14);
  for (std::size_t rang = 0; rang < p.size(); ++rang)
    for (uint8_t disposition : {0, 1, 3})
      Ecrire("Parametre", std::string(p[rang]->ClassName()) + "-" + std::to_string(disposition),
             Direct(static_cast<uint8_t>(rang), disposition, p[rang].get()));
  delete interne;
}

// A class that publishes properties at index numbers 0, 2 and 3, one of them an object property.
class TArticleSemence : public TObject {
 public:
  static const TClass* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }
  static constexpr TInfoPropriete kProprietes[] = {
      {"Code", "Integer", tkInteger, nullptr, 0, true},
      {"Lien", "TErreur", tkClass, &TErreur::StaticClass, 2, true},
      {"Nom", "String", tkLString, nullptr, 3, false},
  };
};
const TClass* TArticleSemence::StaticClass() {
  static const TClass descriptor("TArticleSemence", TObject::StaticClass(), nullptr, kProprietes);
  return &descriptor;
}

void SemencesProprietesPubliees() {
  TProprietePubliee propriete(TErreur::StaticClass(), "Lien", "TErreur", tkClass, TErreur::StaticClass(), true);
  TChampPublie champ(TErreur::StaticClass(), "Taux", "Double", tkFloat, TObject::StaticClass(), true);
  TListeProprietesPubliees liste(TArticleSemence::StaticClass(), nullptr);
  TListeChampsPublies champs(TArticleSemence::StaticClass(), nullptr);
  TObject* objets[] = {&propriete, &champ, &liste, &champs};
  for (uint8_t rang = 0; rang < 4; ++rang)
    for (uint8_t disposition : {0, 1, 3})
      Ecrire("ProprietePubliee", std::string(objets[rang]->ClassName()) + "-" + std::to_string(disposition),
             Direct(rang, disposition, objets[rang]));
  for (TListeProprietesPubliees* l : {&liste, static_cast<TListeProprietesPubliees*>(&champs)})
    for (int32_t i = 0; i < l->GetNombreElements(); ++i) delete l->GetElement(i);
}

void SemencesTableauIndices() {
  TTableauIndices t(4);
  for (uint32_t v : {12u, 3u, 0x80000007u, 7u, 0u, 40u}) t.Ajouter(v);
  for (uint8_t disposition : {0, 1, 3})
    for (uint8_t page : {0, 3, 16})
      Ecrire("TableauIndices", "page-" + std::to_string(page) + "-" + std::to_string(disposition),
             Octets{static_cast<uint8_t>(page << 2 | disposition)} +
                 Flux(disposition, [&](TBinaryFormatter& f) { t.Ecrire(&f, nullptr); }));
}

}  // namespace

void Objectdb() {
  SemencesDuree();
  SemencesModuleLangue();
  SemencesParametres();
  SemencesProprietesPubliees();
  SemencesTableauIndices();
  SemencesBases();
}

}  // namespace Semences
