// The common verifier of one registered record file: it walks the file's table in record-number order
// and asks a per-record test, which each verifying file overrides. Verifiers take part in the
// application's verification service from their creation to their destruction.
#pragma once

#include <cstdint>

#include "core/objects/Verification.h"

class TVerificateurNetXi : public TCustomVerifiable {
  NV_DECLARE_CLASS(TVerificateurNetXi)
 public:
  // Keeps the table number and joins the application's verification service.
  explicit TVerificateurNetXi(int32_t NumeroTable);
  explicit TVerificateurNetXi(TBlank b) : TCustomVerifiable(b) {}
  ~TVerificateurNetXi() override;

  int32_t NumeroTable() const { return numeroTable_; }

  // The test of the table's current record: True when sound, else False with an error describing it
  // (or none). The base class answers False without an error.
  virtual bool VerifierArticle(TErreur*& Erreur);
  // Walks the records until the first one that is not sound; when it gave an error, Erreur receives
  // "Erreur vérification Table" holding "Erreur Verification Articles : <class name>" holding it.
  void Verifier(TypeOptionsVerification Options, TErreur*& Erreur) override;

 private:
  bool VerifierCourant(intptr_t argument);

  int32_t numeroTable_ = 0;
  TypeOptionsVerification optionsCourantes_ = 0;
  TErreur* erreurCourante_ = nullptr;
};
