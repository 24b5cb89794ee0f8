// Record verifiers: a walk of the file's table that stops at the first record that is not sound,
// and the error tree it leaves.
#include <cstring>
#include <string>
#include <vector>

#include "BaseEssai.h"
#include "base/VerificateurNetXi.h"
#include "core/objects/Erreur.h"
#include "core/records/Xi.h"
#include "core/values/Ansi1252.h"

namespace {

constexpr int32_t kPlace = 28;  // ".CRS": zero-filled records are sound courses (no unique order) once
                                // the default course type exists

// Fails the record whose identifier is Casse, with an error naming it.
class TVerificateurEssai : public TVerificateurNetXi {
  NV_DECLARE_CLASS(TVerificateurEssai)
 public:
  using TVerificateurNetXi::TVerificateurNetXi;
  int32_t Casse = -1;
  std::vector<int32_t> Vus;

  bool VerifierArticle(TErreur*& Erreur) override {
    int32_t identifiant;
    std::memcpy(&identifiant, *NetXi::Table(NumeroTable())->Table, 4);
    Vus.push_back(identifiant);
    Erreur = identifiant == Casse ? new TErreur("article " + std::to_string(identifiant)) : nullptr;
    return Erreur == nullptr;
  }
};
NV_DEFINE_CLASS(TVerificateurEssai, TVerificateurNetXi)

class VerificationEssai : public BaseOuverte {
 protected:
  void SetUp() override {
    BaseOuverte::SetUp();
    std::vector<uint8_t> aucun = Chaine("Aucun", 13);
    aucun.resize(28, 0);
    Recevoir(OrdreRecu(GM_Creation, 11, 28, aucun));
    for (int32_t identifiant : {20, 40, 60, 80})
      Recevoir(OrdreRecu(GM_Creation, kPlace, identifiant, std::vector<uint8_t>(102, 0)));
  }
};

TEST_F(VerificationEssai, SoundRecordsLeaveTheErrorUnchanged) {
  TVerificateurEssai verificateur(kPlace);
  TErreur* erreur = nullptr;
  verificateur.Verifier(0, erreur);
  EXPECT_EQ(erreur, nullptr);
  EXPECT_EQ(verificateur.Vus, (std::vector<int32_t>{20, 40, 60, 80}));
}

TEST_F(VerificationEssai, TheFirstBrokenRecordEndsTheWalkWithItsErrorTree) {
  TVerificateurEssai verificateur(kPlace);
  verificateur.Casse = 60;
  TFichierSup& f = *SupFichiers::Fichier(kPlace);
  ASSERT_TRUE(Xi::AllerA(f.Table, 2));
  TErreur* erreur = nullptr;
  verificateur.Verifier(0, erreur);
  EXPECT_EQ(verificateur.Vus, (std::vector<int32_t>{20, 40, 60})) << "the records after it are not examined";
  ASSERT_NE(erreur, nullptr);
  EXPECT_EQ(erreur->Message, "Erreur vérification Table"_ansi);
  ASSERT_EQ(erreur->NombreFils(), 1);
  auto* articles = static_cast<TErreur*>(erreur->Fils(0));
  EXPECT_EQ(articles->Message, "Erreur Verification Articles : TVerificateurEssai");
  ASSERT_EQ(articles->NombreFils(), 1);
  EXPECT_EQ(static_cast<TErreur*>(articles->Fils(0))->Message, "article 60");
  EXPECT_EQ(Xi::NumeroCourant(f.Table), 2u) << "the position is restored";
  delete erreur;
}

TEST_F(VerificationEssai, TheBaseVerifierStopsAtTheFirstRecordWithoutError) {
  TErreur* erreur = nullptr;
  SupFichiers::Fichier(kPlace)->Verificateur()->Verifier(0, erreur);
  EXPECT_EQ(erreur, nullptr);
  NetXi::LibererTables();
  TVerificateurEssai verificateur(kPlace);
  verificateur.Casse = 20;
  verificateur.Verifier(0, erreur);
  EXPECT_TRUE(verificateur.Vus.empty()) << "with no file registered nothing is walked";
  EXPECT_EQ(erreur, nullptr);
}

TEST_F(VerificationEssai, VerifiersJoinTheApplicationServiceForTheirLifetime) {
  TServiceInterfaces* service = TServiceVerifiablesApplication::Service();
  ASSERT_NE(service, nullptr);
  const std::size_t avant = service->Interfaces().size();
  {
    TVerificateurEssai verificateur(kPlace);
    EXPECT_EQ(service->Interfaces().size(), avant + 1);
  }
  EXPECT_EQ(service->Interfaces().size(), avant);
}

}  // namespace
