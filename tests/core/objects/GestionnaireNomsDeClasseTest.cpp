#include <gtest/gtest.h>

#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/objects/ObjetInterfacable.h"

namespace {
class TEnregistre : public TObjetInterfacable {
  NV_DECLARE_CLASS(TEnregistre)
 public:
  using TObjetInterfacable::TObjetInterfacable;
};
NV_DEFINE_CLASS(TEnregistre, TObjetInterfacable)
// Same name, another class: the later registration replaces the former.
struct TAutreDescripteur {
  static const TClass* Get() {
    static const TClass d("TEnregistre", TObject::StaticClass(), nullptr);
    return &d;
  }
};
}  // namespace

TEST(ClassNameRegistry, FindsExactNamesOnlyAndLaterRegistrationReplaces) {
  EXPECT_EQ(TGestionnaireNomsDeClasse::ChercherClasse("TEnregistre"), nullptr);
  TGestionnaireNomsDeClasse::Enregistrer(TEnregistre::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TEnregistre::StaticClass());
  EXPECT_EQ(TGestionnaireNomsDeClasse::ChercherClasse("TEnregistre"), TEnregistre::StaticClass());
  EXPECT_EQ(TGestionnaireNomsDeClasse::ChercherClasse("tenregistre"), nullptr);
  TGestionnaireNomsDeClasse::Enregistrer(TAutreDescripteur::Get());
  EXPECT_EQ(TGestionnaireNomsDeClasse::ChercherClasse("TEnregistre"), TAutreDescripteur::Get());
}
