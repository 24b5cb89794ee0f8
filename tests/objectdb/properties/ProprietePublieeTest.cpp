// Published properties and fields: lists built from class descriptions (index numbers, placeholders,
// inherited properties first), descriptors and lists in streams, access paths, traces.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/objects/Erreur.h"
#include "core/objects/GestionnaireNomsDeClasse.h"
#include "objectdb/properties/InfosAcces.h"
#include "objectdb/properties/ProprietePubliee.h"

namespace {

// Article classes of the tests: properties at index numbers 0, 1 and 3, and a descendant whose
// property carries a lower number than the next free position.
class TArticleEssai : public TCustomSerializable {
  NV_DECLARE_CLASS(TArticleEssai)
 public:
  TArticleEssai() = default;
  explicit TArticleEssai(TBlank b) : TCustomSerializable(b) {}
  static constexpr TInfoPropriete kProprietes[] = {
      {"Code", "Integer", tkInteger, nullptr, 0, true},
      {"Nom", "String", tkLString, nullptr, 1, true},
      {"Parent", "TArticleEssai", tkClass, &TArticleEssai::StaticClass, 3, false},
  };
};
NV_DEFINE_PUBLISHED_CLASS(TArticleEssai, TCustomSerializable, kProprietes)

class TArticleDerive : public TArticleEssai {
  NV_DECLARE_CLASS(TArticleDerive)
 public:
  using TArticleEssai::TArticleEssai;
  static constexpr TInfoPropriete kProprietes[] = {{"Taux", "Double", tkFloat, nullptr, 2, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TArticleDerive, TArticleEssai, kProprietes)

// Properties without index numbers, one of them of an unregistered class.
class TSansIndex : public TObject {
  NV_DECLARE_CLASS(TSansIndex)
 public:
  using TObject::TObject;
  static constexpr TInfoPropriete kProprietes[] = {
      {"A", "Int64", tkInt64, nullptr, kProprieteSansIndex, true},
      {"B", "TSansIndex", tkClass, &TSansIndex::StaticClass, kProprieteSansIndex, true},
      {"C", "TObject", tkClass, &TObject::StaticClass, kProprieteSansIndex, false},
  };
};
NV_DEFINE_PUBLISHED_CLASS(TSansIndex, TObject, kProprietes)

// A list built from a class description shares its descriptors with whoever made it: the test frees
// them itself.
template <class L>
struct Liste {
  explicit Liste(const TClass* Classe) : liste(Classe, nullptr) {}
  ~Liste() {
    for (int32_t i = 0; i < liste.GetNombreElements(); ++i) delete liste.GetElement(i);
  }
  L liste;
};

struct Attendu {
  const char* libelle;
  const char* type;
  uint8_t genre;
  const TClass* classe;
  bool stockee;
};

void Verifier(const TListeProprietesPubliees& l, const std::vector<Attendu>& attendus, const TClass* proprietaire) {
  ASSERT_EQ(l.GetNombreElements(), static_cast<int32_t>(attendus.size()));
  for (std::size_t i = 0; i < attendus.size(); ++i) {
    SCOPED_TRACE(i);
    TProprietePubliee* p = l.Propriete(static_cast<int32_t>(i));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ClassType(), l.ClasseElement());
    EXPECT_EQ(p->ClasseProprietaire, proprietaire);
    EXPECT_EQ(p->Libelle, attendus[i].libelle);
    EXPECT_EQ(p->NomDuType, attendus[i].type);
    EXPECT_EQ(p->Genre, attendus[i].genre);
    EXPECT_EQ(p->Classe, attendus[i].classe);
    EXPECT_EQ(p->Stockee, attendus[i].stockee);
  }
}

const std::vector<uint8_t>& Octets(TCustomFormatter& f) { return static_cast<TMemoryStream*>(f.Flux())->Bytes(); }

// A filter that tells when it is freed.
class TFiltreTemoin : public TObject {
 public:
  explicit TFiltreTemoin(int* Liberes) : liberes_(Liberes) {}
  ~TFiltreTemoin() override { ++*liberes_; }

 private:
  int* liberes_;
};

}  // namespace

TEST(ListeProprietesPubliees, DescriptorsSitAtTheirIndexNumbersAndGapsHoldPlaceholders) {
  const TClass* objet = TObject::StaticClass();
  Liste<TListeProprietesPubliees> l(TArticleEssai::StaticClass());
  Verifier(l.liste,
           {{"Code", "INTEGER", tkInteger, objet, true},
            {"Nom", "STRING", tkLString, objet, true},
            {"", "", tkUnknown, objet, false},
            {"Parent", "TARTICLEESSAI", tkClass, TArticleEssai::StaticClass(), false}},
           TArticleEssai::StaticClass());
  EXPECT_EQ(l.liste.ClasseDecrite(), TArticleEssai::StaticClass());
  EXPECT_EQ(l.liste.ClasseElement(), TProprietePubliee::StaticClass());
  EXPECT_EQ(l.liste.GetElementsParPage(), 32);
  EXPECT_TRUE(l.liste.GetDynamique());
  EXPECT_FALSE(l.liste.GetLibererElements());
}

TEST(ListeProprietesPubliees, InheritedPropertiesComeFirstAndALowNumberTakesTheNextPosition) {
  const TClass* objet = TObject::StaticClass();
  Liste<TListeProprietesPubliees> derive(TArticleDerive::StaticClass());
  Verifier(derive.liste,
           {{"Code", "INTEGER", tkInteger, objet, true},
            {"Nom", "STRING", tkLString, objet, true},
            {"", "", tkUnknown, objet, false},
            {"Parent", "TARTICLEESSAI", tkClass, TArticleEssai::StaticClass(), false},
            {"Taux", "DOUBLE", tkFloat, objet, true}},
           TArticleDerive::StaticClass());
  Liste<TListeProprietesPubliees> sansIndex(TSansIndex::StaticClass());
  Verifier(sansIndex.liste,
           {{"A", "INT64", tkInt64, objet, true},
            {"B", "TSANSINDEX", tkClass, TSansIndex::StaticClass(), true},
            {"C", "TOBJECT", tkClass, objet, false}},
           TSansIndex::StaticClass());
  for (const TClass* vide : {static_cast<const TClass*>(nullptr), TObject::StaticClass()}) {
    Liste<TListeProprietesPubliees> l(vide);
    EXPECT_EQ(l.liste.GetNombreElements(), 0);
  }
}

TEST(ListeChampsPublies, FieldsStartAsIndexedNullableReferencesResetOnDeletion) {
  Liste<TListeChampsPublies> l(TArticleEssai::StaticClass());
  ASSERT_EQ(l.liste.GetNombreElements(), 4);
  EXPECT_EQ(l.liste.ClasseElement(), TChampPublie::StaticClass());
  for (int32_t i = 0; i < 4; ++i) {
    TChampPublie* champ = l.liste.Champ(i);
    ASSERT_NE(champ, nullptr) << i;
    // The placeholder is made from explicit values, without reference rules.
    const bool depuisDescription = i != 2;
    EXPECT_EQ(champ->ReferenceIndexee, depuisDescription) << i;
    EXPECT_EQ(champ->ReferenceNulle, depuisDescription) << i;
    EXPECT_EQ(champ->RegleSuppressionReference, depuisDescription ? RSR_ValeurParDefaut : RSR_Suppression) << i;
    EXPECT_FALSE(champ->EstCalcule());
  }
  l.liste.AjouterVide();
  EXPECT_EQ(l.liste.Champ(4)->Libelle, "");
}

TEST(ProprietePublieeStream, ClassesComeBackWhenRegisteredAndTObjectStaysUnset) {
  TGestionnaireNomsDeClasse::Enregistrer(TArticleEssai::StaticClass());
  const struct {
    const TClass* classe;
    const TClass* relue;
  } cas[] = {
      {TArticleEssai::StaticClass(), TArticleEssai::StaticClass()},
      {TSansIndex::StaticClass(), nullptr},  // not registered by name
      {TObject::StaticClass(), nullptr},
  };
  for (const auto& c : cas) {
    TProprietePubliee p(TArticleEssai::StaticClass(), "Lien", "Double", tkClass, c.classe, true);
    EXPECT_EQ(p.NomDuType, "DOUBLE");
    TBinaryFormatter f;
    f.EcrireObjet(&p, nullptr);
    f.SetPosition(0);
    std::unique_ptr<TObject> objet(f.LireObjet(nullptr));
    auto& lu = dynamic_cast<TProprietePubliee&>(*objet);
    EXPECT_EQ(lu.ClasseProprietaire, TArticleEssai::StaticClass());
    EXPECT_EQ(lu.Libelle, "Lien");
    EXPECT_EQ(lu.NomDuType, "DOUBLE");
    EXPECT_EQ(lu.Genre, tkClass);
    EXPECT_EQ(lu.Classe, c.relue) << c.classe->ClassName();
    EXPECT_FALSE(lu.Stockee);
  }
}

TEST(ProprietePublieeStream, TheLayoutAndItsCorruptions) {
  TProprietePubliee p(nullptr, "N", "x", tkInteger, TObject::StaticClass(), true);
  TBinaryFormatter f;
  p.Ecrire(&f, nullptr);
  // No class name after a kind other than tkClass.
  EXPECT_EQ(Octets(f), (std::vector<uint8_t>{0, 0, 0, 0, 1, 0, 0, 0, 'N', 1, 0, 0, 0, 'X', 1, 0, 0, 0}));
  std::vector<uint8_t> octets = Octets(f);
  for (std::size_t n = 0; n < octets.size(); ++n) {
    TMemoryStream m;
    m.Assign(octets.data(), n);
    TBinaryFormatter lecteur(&m);
    TProprietePubliee lu(nullptr, "avant", "", tkUnknown, nullptr, false);
    EXPECT_THROW(lu.Lire(&lecteur, nullptr), EReadError) << n;
    EXPECT_EQ(lu.Libelle, "avant");
  }
  octets[14] = tkDynArray + 1;  // a kind that does not exist
  TMemoryStream m;
  m.Assign(octets.data(), octets.size());
  TBinaryFormatter lecteur(&m);
  EXPECT_THROW(p.Lire(&lecteur, nullptr), EReadError);
}

TEST(ListeProprietesPublieesStream, AListComesBackWithItsClassesAndDescriptors) {
  TGestionnaireNomsDeClasse::Enregistrer(TArticleEssai::StaticClass());
  Liste<TListeChampsPublies> l(TArticleEssai::StaticClass());
  std::vector<std::unique_ptr<TCustomFormatter>> formateurs;
  formateurs.emplace_back(new TBinaryFormatter);
  formateurs.emplace_back(new TBinaryFormatterWithSize);
  for (auto& f : formateurs) {
    f->EcrireObjet(&l.liste, nullptr);
    f->SetPosition(0);
    std::unique_ptr<TObject> objet(f->LireObjet(nullptr));
    auto& lu = dynamic_cast<TListeChampsPublies&>(*objet);
    EXPECT_EQ(lu.ClasseDecrite(), TArticleEssai::StaticClass());
    EXPECT_EQ(lu.ClasseElement(), TChampPublie::StaticClass());
    EXPECT_FALSE(lu.GetLibererElements());
    ASSERT_EQ(lu.GetNombreElements(), 4);
    EXPECT_EQ(lu.Champ(3)->Libelle, "Parent");
    EXPECT_EQ(lu.Champ(3)->Classe, TArticleEssai::StaticClass());
    EXPECT_EQ(lu.Champ(2)->Libelle, "");
    // Like every object array that does not own its elements, the list hands them to its reader.
    for (int32_t i = 0; i < lu.GetNombreElements(); ++i) delete lu.GetElement(i);
  }
}

TEST(ListeProprietesPublieesStream, ElementsThatAreNotDescriptorsAreRefused) {
  // A list holding an error instead of a descriptor.
  TListeProprietesPubliees intrus(32, true, false);
  auto* erreur = new TErreur("intrus");
  erreur->DesinscrireRamasseMiettes();
  intrus.Ajouter(erreur);
  TBinaryFormatter f;
  f.EcrireObjet(&intrus, nullptr);
  delete erreur;
  f.SetPosition(0);
  EXPECT_THROW(delete f.LireObjet(nullptr), EReadError);  // the error read is freed with the refusal

  // An element class that is not a descriptor class.
  TListeProprietesPubliees vide(nullptr, nullptr);
  TBinaryFormatter g;
  vide.Ecrire(&g, nullptr);
  auto octets = Octets(g);
  const std::string nom = "TProprietePubliee", autre = "TErreur";
  auto it = std::search(octets.begin(), octets.end(), nom.begin(), nom.end());
  ASSERT_NE(it, octets.end());
  octets.erase(it - 4, it + static_cast<std::ptrdiff_t>(nom.size()));
  octets.push_back(static_cast<uint8_t>(autre.size()));
  for (int k = 0; k < 3; ++k) octets.push_back(0);
  octets.insert(octets.end(), autre.begin(), autre.end());
  TMemoryStream m;
  m.Assign(octets.data(), octets.size());
  TBinaryFormatter lecteur(&m);
  TListeProprietesPubliees cible(nullptr, nullptr);
  EXPECT_THROW(cible.Lire(&lecteur, nullptr), EReadError);
}

TEST(ChampPublie, AnAccessPathMakesTheFieldComputedAndIsFreedWhenReplaced) {
  int liberes = 0;
  auto chemin = [&] {
    auto* infos = new TInfosAcces(8, true, false);
    auto* filtre = new TFiltreTemoin(&liberes);
    infos->Ajouter({TArticleEssai::StaticClass(), 1, filtre});
    infos->Ajouter({TArticleEssai::StaticClass(), 3, filtre});  // shared: freed once
    return infos;
  };
  {
    TChampPublie champ(TArticleEssai::StaticClass(), "Calcul", "Integer", tkInteger, TObject::StaticClass(), true,
                       false, false, RSR_Suppression, nullptr);
    EXPECT_TRUE(champ.Stockee);
    TInfosAcces* premier = chemin();
    champ.SetInfosAcces(premier);
    EXPECT_TRUE(champ.EstCalcule());
    EXPECT_FALSE(champ.Stockee);
    champ.Stockee = true;
    champ.SetInfosAcces(premier);  // the same path: nothing changes
    EXPECT_TRUE(champ.Stockee);
    EXPECT_EQ(liberes, 0);
    champ.SetInfosAcces(chemin());
    EXPECT_EQ(liberes, 1);
  }
  EXPECT_EQ(liberes, 2);
  // The explicit constructor keeps Stockee as given, even with a path.
  TChampPublie explicite(nullptr, "E", "Integer", tkInteger, nullptr, true, true, true, RSR_Suppression, chemin());
  EXPECT_TRUE(explicite.Stockee);
  EXPECT_TRUE(explicite.EstCalcule());
}

TEST(ProprietePublieeTrace, DescriptorAndFieldLines) {
  TCustomTraceur traceur("");
  std::string texte;
  TProprietePubliee lien(nullptr, "Parent", "TArticleEssai", tkClass, TArticleEssai::StaticClass(), true);
  lien.Tracer(false, &traceur, texte);
  EXPECT_EQ(texte, "TProprietePubliee\r\n  Libelle = Parent\r\n  NomDuType = TARTICLEESSAI\r\n  Type = tkClass\r\n"
                   "  Classe = TArticleEssai\r\n");
  TChampPublie champ(nullptr, "Taux", "Double", tkFloat, TObject::StaticClass(), true, false, true,
                     RSR_SuppressionInterdite, nullptr);
  champ.Tracer(false, &traceur, texte);
  EXPECT_EQ(texte, "TChampPublie\r\n  Libelle = Taux\r\n  NomDuType = DOUBLE\r\n  Type = tkFloat\r\n"
                   "  ReferenceIndexee = 0\r\n  ReferenceNulle = -1\r\n"
                   "  RegleSuppressionReference = RSR_SuppressionInterdite\r\n");
  champ.SetInfosAcces(new TInfosAcces(8, true, false));
  champ.TracerProprietes(&traceur, texte);
  EXPECT_TRUE(texte.ends_with("InfosAcces = \r\n")) << texte;
  TProprietePubliee::TexteTrace(nullptr, texte);
  EXPECT_EQ(texte, "NULL");
  InterfaceOf<ITracable>(&champ)->SetTraceActive(false);
  champ.TexteTrace(texte);
  EXPECT_EQ(texte, "");
  EXPECT_EQ(TProprietePubliee::NomGenre(tkDynArray), "tkDynArray");
  EXPECT_EQ(TProprietePubliee::NomGenre(18), "Inconnu");
}
