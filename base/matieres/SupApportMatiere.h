// Subject contributions (".PAM"): a curriculum (genre 0) or a module (genre 2) teaches a subject for
// a duration in hundredths of an hour, optionally with a course type. A curriculum receives a subject
// with a course type at most once, whether directly or through one of its modules. Bases older than
// 4.0.99 also held contributions of resources (genre 1): their two older layouts still read them,
// the current layout drops them, and no operation creates one.
//
// The file is verified and registers no order or change routines. Every change needs the right to
// change modules and curricula; the routines that move a table to look something up keep its
// position. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "base/VerificateurNetXi.h"
#include "base/fichiers/FichierSup.h"

// The in-memory record, as the file's declaration lays it out (a test checks that both agree).
struct TypeEnregistrementApportMatiere {
  int32_t Identifiant;
  int32_t Duree;      // hundredths of an hour
  uint32_t Matiere;   // record number in ".MAT"
  uint8_t Genre;      // of the element: 0 curriculum, 1 resource, 2 module
  uint8_t Libre[3];
  uint32_t Element;    // record number in the file of its genre
  uint32_t Typologie;  // record number in ".TYP", 0 for none
};
static_assert(sizeof(TypeEnregistrementApportMatiere) == 24);

// A contribution is sound when its subject exists, its course type exists with a structure other
// than 0, and its element exists as a curriculum or a module; any other fails with "Erreur sur l
// apport matière numero = " and its record number. Repairs nothing.
class TVerificateurApportMatiere : public TVerificateurNetXi {
  NV_DECLARE_CLASS(TVerificateurApportMatiere)
 public:
  using TVerificateurNetXi::TVerificateurNetXi;
  bool VerifierArticle(TErreur*& Erreur) override;
};

namespace SupApportMatiere {

inline constexpr int32_t kPlace = 33;
// Stored layouts: A below 2.0.65, B below 4.0.99, then the current one.
inline constexpr uint32_t kTailleStockeeA = 112, kTailleStockeeB = 16, kTailleStockee = 20;
inline constexpr uint8_t kGenreCursus = 0, kGenreRessource = 1, kGenreModule = 2;
// Order 1 (genre, element, subject, course type) is unique.
inline constexpr int32_t kOrdreElement = 1, kOrdreIdentifiant = 2;
inline constexpr uint32_t kCodeCreerParDefaut = 0x80160000, kCodeAjouter = 0x80160100, kCodeModifier = 0x80160200,
                          kCodeSupprimer = 0x80160300, kCodeSupprimerDeMatiere = 0x80160302,
                          kCodeSupprimerDeLElement = 0x80160303;
// The request of a new contribution (0x80160100) is not laid out as the stored record: duration at
// 0, subject at 4, course type at 8, element at 12, genre at 16, 3 reserved bytes.
inline constexpr uint32_t kTailleAjout = 20;

TFichierSup& Fichier();
// The current-record buffer; nil while the table does not exist.
TypeEnregistrementApportMatiere* Article();
// The place in the base order of the element's file for a genre, 0 for a genre above 2.
int32_t FichierDuGenre(uint8_t Genre);

// --- Housekeeping
void ViderArticle();
bool CreerTable();
void LibererTable();
void EmpilerPosition();
void DepilerPosition();
// The file's search routine: order 2.
bool ChercherParIdentifiant(int32_t Identifiant);
int32_t InscrireFichier();
// Default contents: the request alone; there are no default contributions.
bool ContenuParDefaut();
bool CreerApportsMatiereParDefaut();

// --- Requests
// Adds a contribution of a curriculum or a module (Genre 0 or 2, refused otherwise before anything
// is sent); subject and element must exist. Through the server the answered contribution is current
// and the result is the verdict. Locally an identical contribution (genre, element, subject, course
// type) grows by Duree (False for 0, or when the sum leaves the 32-bit range); otherwise the new one
// is inserted unless a curriculum it concerns already receives the subject with that course type.
bool AjouterApportMatiere(int32_t Duree, uint32_t Matiere, uint32_t Element, uint32_t TypeCours, uint8_t Genre);
// Gives the current contribution the values of Apport (its identifier is kept). A new subject or
// course type is refused when a curriculum that the copy's element concerns already receives it;
// once allowed, a course type of another structure first deletes the contribution's period relations.
bool ModifierApportMatiere(const TypeEnregistrementApportMatiere& Apport);
// One field of the current contribution, then ModifierApportMatiere with the buffer.
bool ModifierMatiereApport(uint32_t Matiere);
bool ModifierDureeApport(int32_t Duree);
// Deletes the current contribution and its period relations; True when it no longer exists.
bool SupprimerApportMatiere();
// Every contribution of a subject, respectively of an element, each with its period relations.
// These are the dependent records of a subject's, a module's or a curriculum's deletion, which their
// own rights allow: they need no right of their own. Through the server the verdict; locally True.
bool SupprimerApportsDeLaMatiere(uint32_t Matiere);
bool SupprimerApportsDeLElement(uint32_t Element, uint8_t Genre);

// --- Reads
// Calls Routine with each contribution of the element current, in order 1 (by subject, then course
// type), until one answers non-zero: that answer, else 0. Positions kept.
int32_t PourChaqueApportDeLElement(uint32_t Element, uint8_t Genre, const std::function<int32_t()>& Routine);
// The same for the contributions of the current subject, in record-number order.
int32_t PourChaqueApportDeLaMatiereCourante(const std::function<int32_t()>& Routine);
// True when a contribution of one of the curricula, or of a module of one of them, has that subject
// and that course type. False when the subject or the course type does not exist.
bool ApportExisteDansCursus(uint32_t Matiere, uint32_t TypeCours, const std::vector<uint32_t>& Cursus);
// The curricula a contribution of that element concerns: the curriculum itself, the curricula of a
// module, none for a resource.
std::vector<uint32_t> CursusConcernes(uint8_t Genre, uint32_t Element);

}  // namespace SupApportMatiere
