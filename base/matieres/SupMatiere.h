// Subjects (".MAT"): what is taught; every course has one. The subject whose code and label are both
// empty is the default subject. A subject whose code is empty and whose label is empty or one of the
// two texts shown for the room-reservation and the to-be-specified subjects counts as a default
// subject: it is never deleted.
//
// This unit holds the file (its record, stored layout, orders and registered routines), the defaults
// of a new subject and the reads that the other files, the placement engine and the SOAP ports use.
// Routines that take a record number keep the table's position. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/fichiers/FichierSup.h"
#include "core/records/Memoire.h"

// The in-memory subject record, as the file's declaration lays it out (a test checks that both agree).
struct TypeEnregistrementMatiere {
  int32_t Identifiant;
  uint8_t IdentifiantExterne[81];  // counted string of 80: the key outside systems give it
  uint8_t Code[17];                // counted string of 16
  uint8_t Libelle[31];             // counted string of 30; (label, code) is unique
  uint8_t NomComplet[66];          // counted string of 65
  uint8_t Libre1;
  int32_t Coefficient;
  int32_t MaxHeuresJour;  // in places
  int32_t MaxHeuresSemaine;
  uint32_t Couleur;
  int32_t ValeurTri;   // never stored; nothing sets it
  uint8_t OctetPorte;  // carried unchanged between stored and in-memory record
  uint8_t Extrait;     // never stored; 0 after loading
  uint8_t Retenu;      // never stored; 1 after loading
  uint8_t Proprietaire[4];  // counted string of 3, upper case
  uint8_t Libre2;
  uint32_t NumeroMatiere;  // unique in the file
};
static_assert(sizeof(TypeEnregistrementMatiere) == 232);

namespace SupMatiere {

inline constexpr int32_t kPlace = 12;
inline constexpr uint32_t kTailleStockee = 228;
inline constexpr uint32_t kCouleurNouvelle = 0xFF00000F;
inline constexpr uint32_t kCodeCreerParDefaut = 0x800E0000, kCodeCreerMatiere = 0x800E0100;
inline constexpr uint32_t kCodeModifierCode = 0x800E0201, kCodeModifierLibelle = 0x800E0202,
                          kCodeModifierNomComplet = 0x800E0203, kCodeModifierMaxHeuresJour = 0x800E0204,
                          kCodeModifierMaxHeuresHebdo = 0x800E0205, kCodeModifierProprietaire = 0x800E020C,
                          kCodeModifierCoefficient = 0x800E020D, kCodeModifierIdentifiant = 0x800E020F;
inline constexpr uint32_t kCodeSupprimerMatiere = 0x800E0300, kCodeSupprimerTableau = 0x800E0302;
inline constexpr int32_t kOrdreUnique = 1, kOrdreCode = 2, kOrdreRetenu = 3, kOrdreIdentifiant = 4, kOrdreTri = 5,
                         kOrdreNomComplet = 6, kOrdreNumero = 7, kOrdreRetenuLibelle = 8,
                         kOrdreIdentifiantExterne = 9;

TFichierSup& Fichier();
// The current-record buffer; nil while the table does not exist.
TypeEnregistrementMatiere* Article();

// Steps that keep the per-user subject visibility entries in step. That state does not exist yet:
// each step does nothing until the unit that builds it installs it.
struct TypeEtapesMatiere {
  std::function<void()> CompleterVisibilite;
  std::function<void()> SupprimerVisibilite;
};
TypeEtapesMatiere& Etapes();

// --- Housekeeping
// Zero-fills the buffer and gives it the defaults of a new subject: extracted, retained, owned by
// the connected user, the new-subject colour.
void ViderArticle();
bool CreerTable();
void LibererTable();
void EmpilerPosition();
void DepilerPosition();
// The file's search routine: order 4.
bool ChercherParIdentifiant(int32_t Identifiant);
int32_t InscrireFichier();
// The default contents: the request; locally the default subject (CreerMatiere with an empty code
// and label).
bool ContenuParDefaut();
bool CreerMatieresParDefaut();
// Creates a subject (code cut to 16, label to 30); needs the right to create subjects. Through the
// server the new subject is current when accepted. Locally it takes the next subject number and is
// related to itself; a (label, code) pair that exists fails.
bool CreerMatiere(const std::string& Code, const std::string& Libelle);

// --- Reads
// The record number of the default subject (code and label empty), 0 when none; position kept.
uint32_t MatiereParDefaut();
// Makes the default subject current; False, the former current record current again, when none.
bool AllerAMatiereParDefaut();
bool EstMatiereParDefaut();
// The texts shown for the to-be-specified and the room-reservation subjects: their translations,
// else the French texts.
std::string TexteMatiereAPreciser();
std::string TexteReservationSalles();
// The identifier of a record number, 0 when it holds no subject.
int32_t IdentifiantDe(uint32_t Matiere);
// The record number of the subject of that identifier, 0 when none.
uint32_t ArticleDeIdentifiant(int32_t Identifiant);
// Found: current, True; else the former current record is current again.
bool ChercherMatiereParNumero(uint32_t Numero);
// The text is cut to 80 characters.
bool ChercherMatiereParIdentifiantExterne(const std::string& Texte);

// --- Changes of the current subject. Each needs the right to change subjects (False, nothing sent,
// without it). Through the server the field is sent with the subject's identifier and the answer is
// the verdict; locally the field is written, the record updated, the change notified and the base
// marked modified. Texts are cut to their field's capacity.
// The code (16): nothing when unchanged (True).
bool ModifierCodeMatiere(const std::string& Code);
// The label (30): nothing when unchanged (True); a (label, code) pair another subject has fails.
bool ModifierLibelleMatiere(const std::string& Libelle);
// The full name (65): nothing when unchanged (True).
bool ModifierNomCompletMatiere(const std::string& Nom);
// The external identifier (80): refused when the text is not empty and a subject, this one
// included, has it already.
bool ModifierIdentifiantMatiere(const std::string& Texte);
bool ModifierCoeffCCCAMatiere(int32_t Valeur);
bool ModifierMaxHeuresJourMatiere(int32_t Valeur);
bool ModifierMaxHeuresHebdoMatiere(int32_t Valeur);
// The owner: cut to 3 characters, upper case.
bool ModifierProprietaireMatiere(const std::string& Code);

// --- Deletions; a default subject is never deleted.
// Deletes the current subject; needs the right to delete subjects. Refused (False, nothing sent) for
// a default subject. Through the server the result is the verdict. Locally what refers to the
// subject goes first: its courses, whole; the headings given to it; its relations with subjects,
// both ways; its contributions with their period relations; its resource-subject relations. The
// result is True when the subject is gone. The courses' and the headings' deletions are not built
// yet: a subject that has either raises ENonConstruit before anything changes.
bool SupprimerMatiere();
// The same for a record number (position kept); False when it holds no subject.
bool SupprimerMatiereParNumero(uint32_t Matiere);
// Deletes the subjects of a selection (record numbers); the selection ends with the subjects that
// were not deleted. Through the server it is refilled from the answer when the server accepts (a
// refusal leaves it as it was); locally each subject is deleted by SupprimerMatiereParNumero, with a
// count-down window for more than one subject. The position is kept.
void SupprimerTableauMatieres(TypeEnsembleMemoire& Selection);

}  // namespace SupMatiere
