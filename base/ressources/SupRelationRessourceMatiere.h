// Resource-subject relations (".RRM"): the subjects of a teacher (kind 0) or of a class (kinds 2,
// 3 and 4). A relation names its resource and its subject by record number; a subject that no
// longer exists is 0. A stored relation whose kind is not 0, 2, 3 or 4, or whose resource identifier
// names no resource, is refused; a relation of a kind its resource is not of has resource 0, which
// is stored as 0 and reads back as 0. Main thread only.
#pragma once

#include <cstdint>

#include "base/fichiers/FichierSup.h"

// As the file's declaration lays the record out.
struct TypeEnregistrementRelationRessourceMatiere {
  int32_t Identifiant;
  uint8_t Genre;  // the resource's kind
  uint8_t Libre[3];
  uint32_t Ressource;  // record number in ".RES"
  uint32_t Matiere;    // record number in ".MAT", 0 when it does not exist
};
static_assert(sizeof(TypeEnregistrementRelationRessourceMatiere) == 16);

namespace SupRelationRessourceMatiere {

inline constexpr int32_t kPlace = 40;
inline constexpr uint32_t kTailleStockee = 12;
// Order 2 is unique: a triple (kind, resource, subject) exists once.
inline constexpr int32_t kOrdreIdentifiant = 1, kOrdreRelation = 2, kOrdreMatiere = 3, kOrdreGenreMatiere = 4;
inline constexpr uint32_t kCodeCreerRelationsParDefaut = 0x80330000;
inline constexpr uint32_t kCodeCreerRelation = 0x80330100;
inline constexpr uint32_t kCodeSupprimerRelation = 0x80330301;

TFichierSup& Fichier();
TypeEnregistrementRelationRessourceMatiere* Article();

void ViderArticle();
bool CreerRelationsRessourceMatiereParDefaut();
// Relates Ressource to Matiere with the kind Genre. False for a record number that holds no
// resource (nothing sent); as a client the server's verdict, the new relation then current; locally
// False when the triple exists.
bool CreerRelationRessourceMatiere(uint32_t Ressource, uint32_t Matiere, uint8_t Genre);
// Deletes the current relation.
bool SupprimerRelationRessourceMatiere();
// Inserts the buffer; when inserted, notifies the creation and marks the base modified.
bool CreerRelationLocale();
// Makes the relation of the exact triple current: True when it exists.
bool ChercherRelation(uint8_t Genre, uint32_t Ressource, uint32_t Matiere);
// Deletes here, without a request, every relation of a resource or of a subject, each deletion
// notified, the base marked modified when one went: the local deletions of resources and subjects
// call them so that no relation keeps a record number that a new record would inherit. The
// position is kept when it survives. Returns the number of relations deleted.
uint32_t SupprimerRelationsDeLaRessource(uint32_t Ressource);
uint32_t SupprimerRelationsDeLaMatiere(uint32_t Matiere);

}  // namespace SupRelationRessourceMatiere
