// Students (".ELE"): the civil state, contact data and admission details of the students of the base,
// a coded value carried unchanged with each student, and two flags never stored: present (every
// student) and extracted (0 once loaded, 1 for a student created here). Four stored layouts exist;
// each is read through one table of offsets and only the current one is written.
//
// Routines that take a record number keep the table's position. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/fichiers/FichierSup.h"
#include "core/records/Memoire.h"

// The in-memory student record, as the file's declaration lays it out (a test checks that both agree).
struct TypeEnregistrementEleve {
  int32_t Identifiant;
  uint32_t NumeroEleve;            // unique
  uint8_t IdentifiantExterne[81];  // counted string of 80
  uint8_t Nom[26];                 // counted strings of 25
  uint8_t NomJeuneFille[26];
  uint8_t Prenom[26];
  uint8_t Adresse1[61];  // counted strings of 60
  uint8_t Adresse2[61];
  uint8_t CodePostal[6];  // counted string of 5
  uint32_t Ville;         // record number in ".LIE", 0 for none
  uint8_t Telephone[21];  // counted strings of 20
  uint8_t Portable[21];
  uint8_t NumeroNational[17];  // counted string of 16
  double DateNaissance;
  uint32_t LieuNaissance;  // record number in ".LIE", 0 for none
  uint32_t Nationalite;    // record number in ".PAY", 0 for none
  uint8_t Sexe;            // 0 male, any other value female
  uint8_t Redoublant;
  uint8_t CursusPrecedent[61];  // counted string of 60
  uint32_t ModaliteAdmission;   // record number in ".MAD", 0 for none
  uint8_t Mail[61];             // counted string of 60
  uint8_t Extraction;           // never stored
  uint8_t Presence;             // never stored
  uint8_t ValeurCodee[17];      // length 14: the 13 stored coded bytes, then 0
  uint8_t Proprietaire[4];      // counted string of 3: the owning user's code
};
static_assert(sizeof(TypeEnregistrementEleve) == 528);

namespace SupEleve {

inline constexpr int32_t kPlace = 8;
inline constexpr uint32_t kTailleStockee = 536;
inline constexpr int32_t kTailleCodee = 13;
inline constexpr int32_t kOrdreIdentifiant = 1, kOrdreNomPrenomDate = 2, kOrdreDrapeaux = 3, kOrdreNumeroNational = 4,
                         kOrdreNumero = 5, kOrdreIdentifiantExterne = 6, kOrdreNomDate = 7, kOrdreNomPrenom = 8;
inline constexpr uint32_t kCodeCreerElevesParDefaut = 0x802A0000, kCodeCreerEleve = 0x802A0001,
                          kCodeSupprimerEleve = 0x802A0300, kCodeSupprimerElevesDuTableau = 0x802A0302;

// The changes of one field of the current student, in the order of their request codes.
enum class TypeChampModifiable : uint8_t {
  Nom, Prenom, NumeroNational, Date, Lieu, Pays, Sexe, Redoublant, Email, NomJF, Cursus, Adresse1, Adresse2,
  CodePostal, Ville, Fixe, Portable, Proprietaire, ModaliteAdmission, Identifiant
};
// The request code of a field's change.
uint32_t CodeModification(TypeChampModifiable Champ);

TFichierSup& Fichier();
// The current-record buffer; nil while the table does not exist.
TypeEnregistrementEleve* Article();

// --- Housekeeping
// Zero-fills the buffer and gives it the defaults of a new student: present, extracted, owned by
// the connected user, no birth place, no nationality.
void ViderArticle();
bool CreerTable();
void LibererTable();
void EmpilerPosition();
void DepilerPosition();
// The file's search routine: order 1.
bool ChercherParIdentifiant(int32_t Identifiant);
int32_t IdentifiantDe(uint32_t NumeroArticle);
int32_t InscrireFichier();
// The default contents: the request; locally nothing is created.
bool ContenuParDefaut();
bool CreerElevesParDefaut();

// --- Reads. A search that finds nothing makes the former current record current again.
bool ChercherEleveParNumero(uint32_t Numero);
// Name and first name cut to 25 characters.
bool ChercherEleveParNomPrenomEtDate(const std::string& Nom, const std::string& Prenom, double Date);
// Cut to 80 characters.
bool ChercherParIdentifiantExterne(const std::string& Identifiant);
// The record number of the student of that identifier, 0 when none.
uint32_t EleveDeLIdentifiant(int32_t Identifiant);
bool EleveExiste(uint32_t NumeroArticle);
bool IdentifiantExiste(int32_t Identifiant);
// Mode 0: every student; 1: the present ones; 2: those present and extracted; any other mode: 0.
uint32_t NombreDEleves(uint8_t Mode);
// Calls Routine with each student current, in the order given, until it answers non-zero; that
// answer, else 0. Position kept.
int32_t PourChaqueEleve(int32_t Ordre, const std::function<int32_t()>& Routine);
// Walk routine: adds the current record number to the set; answers 0.
int32_t AjouterEleveCourant(TypeEnsembleMemoire& Ensemble);
// Texts of the current student; empty when the field names no record.
std::string TexteModaliteAdmission();
std::string TexteLieuDeNaissance();
std::string TexteNationalite();
std::string TexteVille();
// The translated sex: long ("SupAffEleveFeminin", "SupAffEleveMasculin") or short ("SupAffEleveF",
// "SupAffEleveM").
std::string TexteSexe(bool Long);
// Sets the current student's extraction flag (any non-zero value as 1) and writes the record, with
// neither request nor notification; the success of the write.
bool MarquerExtractionEleve(uint8_t Valeur);

// --- Requests. Every one needs its right (False, nothing sent, without it).
// Creates a student (name and first name cut to 25); the new student is current. Locally it takes
// the next student number; a name, first name and birth date another student has fail.
bool CreerEleve(const std::string& Nom, const std::string& Prenom, double DateDeNaissance);
// The changes of one field of the current student. Texts are cut to the field's capacity; the
// references (birth place, nationality, town, admission modality) take a record number, 0 for none,
// and refuse one that holds no record; the owner is stored in upper case; a non-empty external
// identifier that a student already has is refused locally.
bool ModifierTexte(TypeChampModifiable Champ, const std::string& Texte);
bool ModifierReference(TypeChampModifiable Champ, uint32_t NumeroArticle);
bool ModifierOctet(TypeChampModifiable Champ, uint8_t Valeur);
bool ModifierNomEleve(const std::string& Nom);
bool ModifierPrenomEleve(const std::string& Prenom);
bool ModifierNumeroNationalEleve(const std::string& Numero);
bool ModifierDateEleve(double Date);
bool ModifierLieuEleve(uint32_t Lieu);
bool ModifierPaysEleve(uint32_t Pays);
bool ModifierSexeEleve(uint8_t Sexe);
bool ModifierRedoublantEleve(uint8_t Redoublant);
bool ModifierEmailEleve(const std::string& Mail);
bool ModifierNomJFEleve(const std::string& Nom);
bool ModifierCursusEleve(const std::string& Cursus);
bool ModifierAdresse1Eleve(const std::string& Adresse);
bool ModifierAdresse2Eleve(const std::string& Adresse);
bool ModifierCodePostalEleve(const std::string& Code);
bool ModifierVilleEleve(uint32_t Ville);
bool ModifierFixeEleve(const std::string& Numero);
bool ModifierPortableEleve(const std::string& Numero);
bool ModifierProprietaireEleve(const std::string& Code);
bool ModifierModaliteAdmissionEleve(uint32_t Modalite);
bool ModifierIdentifiantEleve(const std::string& Identifiant);

// Deletes the current student. Locally its memberships go first (each with Option), then its
// headings of the student genre. True when deleted (locally) or accepted (through the server).
bool SupprimerEleve(uint8_t Option);
// True when the record held a student and its deletion succeeded; position kept.
bool SupprimerEleveParNumero(uint32_t NumeroArticle, uint8_t Option);
// Deletes a selection of students. An empty selection: True, nothing sent. Through the server: the
// verdict, the selection then holding the students the server's answer lists. Locally: True when
// every student was deleted; those still present go back into the selection.
bool SupprimerElevesDuTableau(TypeEnsembleMemoire& Ensemble);

}  // namespace SupEleve
