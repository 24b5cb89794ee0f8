// The schema registry: the process-wide catalogue of the object database. One tree whose nodes are
// article classes (the root is TArticle, a node's children its registered subclasses) records for
// every class the published fields declared at its level, the tables of the class in each base, the
// classes of those bases and the reference columns that point to the class. A table asks it for the
// complete field list of its class, ancestors first, and registers itself with it; a column asks it
// for its field's access path. The registry walks the tables of a base, checks the consistency of
// the tree through the application's verification service and writes the schema and the data of the
// tables to XML.
//
// Main thread only. The root is made on first use and freed, with the whole tree, when the registry's
// holder is finalised. A class node holds at most one table per base (and one without base).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfClasses.h"
#include "core/objects/Arbre.h"
#include "core/objects/ClasseFinalisable.h"
#include "core/objects/CustomTraiterInstance.h"
#include "core/objects/Verification.h"
#include "objectdb/arrays/ArrayOfBaseEtTable.h"
#include "objectdb/arrays/ArrayOfChamp.h"
#include "objectdb/properties/ProprietePubliee.h"
#include "objectdb/schema/ExportXML.h"

class TBase;
class TCustomTable;
class TArticle;
class TCustomFiltreArticle;
class TErreur;
class TListeArticles;
class TInfosAcces;
class TNoeudReferentiel;

// The registry's verification: a walk over every node of the tree. Its findings are reported through
// the inherited verification (to the error handler); the verification is switched off after each run.
class TVerifierReferentiel : public TCustomVerifiable {
  NV_DECLARE_CLASS(TVerifierReferentiel)
 public:
  TVerifierReferentiel() : TCustomVerifiable(false) {}
  explicit TVerifierReferentiel(TBlank b) : TCustomVerifiable(b) {}

  void Verifier(TypeOptionsVerification Options, TErreur*& Erreur) override;
};

class TNoeudReferentiel : public TArbre {
  NV_DECLARE_CLASS(TNoeudReferentiel)
 public:
  explicit TNoeudReferentiel(const TClass* Classe);
  explicit TNoeudReferentiel(TBlank b) : TArbre(b) {}
  // Frees the lists it owns (the own field descriptors among them, not the reference columns), then
  // its children.
  ~TNoeudReferentiel() override;

  const TClass* Classe = nullptr;
  // The fields declared at this class level, owned.
  TListeChampsPublies* ChampsPropres = nullptr;
  // The classes (other than TBase itself) of the bases holding a table of this class.
  TArrayOfClasses* ClassesDeBases = nullptr;
  // One entry per base: (base, table) for a table of this very class, (base, nil) when only
  // descendant classes have tables in that base. Sorted by base, one entry per base.
  TArrayOfBaseEtTable* BasesEtTables = nullptr;
  // The reference columns whose referenced class is this class (made on first use; not owned).
  TArrayOfChamp* ChampsReferencants = nullptr;
  // Depth (0 for the root) and 0-based position among its siblings.
  int32_t Niveau = 0;
  int32_t Id = 0;
  bool EnDestruction = false;
  // Made on demand, never while the node is destroyed; owned.
  std::unique_ptr<TVerifierReferentiel> Verificateur;

  TNoeudReferentiel* Parent() const { return static_cast<TNoeudReferentiel*>(GetParent()); }
  TNoeudReferentiel* NoeudFils(int Index) const { return static_cast<TNoeudReferentiel*>(Fils(Index)); }
  // The node of Classe in this node's tree, nil when it has none.
  TNoeudReferentiel* Chercher(const TClass* Classe);
  // The first direct child of that class, nil when none.
  TNoeudReferentiel* FilsDeClasse(const TClass* Classe) const;
  // A new list (not owning) of every field of the class: the parent's, then its own.
  TListeChampsPublies* ChampsPublies() const;
  // The root's Id in decimal; another node's is its parent's, ".", its Id (0.1.2).
  std::string Adresse() const;
  // Tree order: 1 when this node's branch comes first, -1 when after, 0 when one contains the other.
  int8_t Comparer(TNoeudReferentiel* Autre);

  // Adding a child numbers the children again (Niveau, Id of every descendant).
  int AjouterFils(TArbre* Noeud) override;
  bool SupprimerFils(TArbre* Noeud) override;

  // Registers the table under this node (and its base up to the root); False when the node already
  // has an entry for the table's base (that table stays unregistered).
  bool AjouterTable(TCustomTable* Table);
  bool RetirerTable(TCustomTable* Table);
  void AjouterBase(TBase* Base);
  void RetirerBase(TBase* Base);
  void AjouterChampReference(TCustomChamp* Champ);
  void RetirerChampReference(TCustomChamp* Champ);
  // The entry of a base (nil when none).
  const TypeBaseEtTable* Entree(TBase* Base) const;
  // The tables of the base in this subtree: a node whose entry has a table counts it and stops there.
  int32_t CompterTables(TBase* Base) const;

  // Walks, depth first from this node, children in child order; the first visitor call that answers
  // True stops the walk, which then answers True.
  // Nodes: with a base, a node without an entry for it is skipped with its subtree.
  bool Parcourir(TCustomTraiterInstance* Visiteur, TBase* Base);
  // Tables: with a base, the table of a node's entry for it (nothing is below such a node); without
  // a base, the tables of every entry of every node (tables without base included).
  bool TraiterTables(TCustomTraiterInstance* Traitement, TBase* Base);
  // The tables of the walk, in walk order.
  std::vector<TCustomTable*> TablesDeBase(TBase* Base);
  // A "noeud" element ("classe") with one "champ" ("nom", "type") per own field, then the children's;
  // with a base, only the nodes that have an entry for it.
  void ExporterNoeud(TNoeudXML Parent, TBase* Base);

  // The node's verifier, made on demand (nil while the node is destroyed).
  TVerifierReferentiel* GetVerifiable();

  // The inherited lines, "Classe" and "Adresse", then the full traces of the own fields, the base
  // classes and the entries.
  void TracerEntete(TCustomTraceur* Traceur, std::string& Texte) override;
  // "Classe = %s; Adresse = %s; Nombre champs = %d; Nombre tables = %d".
  void TracerResume(std::string& Texte) override;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  void Renumeroter();
};

// Numbers the nodes it visits: the depth it was given and sibling positions from 0; a node's children
// are numbered by a visitor one level deeper.
class TTraiterAdressageNoeud : public TCustomTraiterInstance {
  NV_DECLARE_CLASS(TTraiterAdressageNoeud)
 public:
  explicit TTraiterAdressageNoeud(int32_t Niveau) : Niveau(Niveau) {}
  explicit TTraiterAdressageNoeud(TBlank b) : TCustomTraiterInstance(b) {}
  bool Traiter(TObject* Instance) override;

  int32_t Niveau = 0;
  int32_t Id = 0;
};

// Gathers the visited tables.
class TTrouverTables : public TCustomTraiterInstance {
  NV_DECLARE_CLASS(TTrouverTables)
 public:
  explicit TTrouverTables(TBase* Base) : Base(Base) {}
  explicit TTrouverTables(TBlank b) : TCustomTraiterInstance(b) {}
  bool Traiter(TObject* Instance) override;

  TBase* Base = nullptr;
  std::vector<TCustomTable*> Tables;
};

// Takes every visited table out of the registry and, when that succeeds, frees it.
class TSupprimerTable : public TCustomTraiterInstance {
  NV_DECLARE_CLASS(TSupprimerTable)
 public:
  TSupprimerTable() = default;
  explicit TSupprimerTable(TBlank b) : TCustomTraiterInstance(b) {}
  bool Traiter(TObject* Instance) override;
};

// Gathers, in first-seen order and without duplicates, the bases of the visited tables and their
// classes, and the tables without base and their classes. Only indexed tables are part of an export:
// the others (the tables of transient copies among them) are passed over.
class TGetListesBasesEtTables : public TCustomTraiterInstance {
  NV_DECLARE_CLASS(TGetListesBasesEtTables)
 public:
  TGetListesBasesEtTables() = default;
  explicit TGetListesBasesEtTables(TBlank b) : TCustomTraiterInstance(b) {}
  bool Traiter(TObject* Instance) override;

  std::vector<TBase*> Bases;
  std::vector<const TClass*> ClassesDeBases;
  std::vector<TCustomTable*> TablesSansBase;
  std::vector<const TClass*> ClassesDeTables;
};

// Whether the visited node has an entry for the base (the opposite when Inverse).
class TVerifierPresenceBase : public TCustomTraiterInstance {
  NV_DECLARE_CLASS(TVerifierPresenceBase)
 public:
  TVerifierPresenceBase(TBase* Base, bool Inverse) : Base(Base), Inverse(Inverse) {}
  explicit TVerifierPresenceBase(TBlank b) : TCustomTraiterInstance(b) {}
  bool Traiter(TObject* Instance) override;

  TBase* Base = nullptr;
  bool Inverse = false;
};

// The checks of one node (class of the parent, entries per base, order of the referenced classes,
// access paths of the fields). Every finding joins Erreur: the first becomes Erreur, the later ones
// its children. Answers True, stopping the walk, when a field's access path is incorrect.
class TVerifierNoeud : public TCustomTraiterInstance {
  NV_DECLARE_CLASS(TVerifierNoeud)
 public:
  TVerifierNoeud() = default;
  explicit TVerifierNoeud(TBlank b) : TCustomTraiterInstance(b) {}
  bool Traiter(TObject* Instance) override;

  TErreur* Erreur = nullptr;

 private:
  void Signaler(const std::string& Message);
  void VerifierParent(TNoeudReferentiel* Noeud);
  void VerifierEntrees(TNoeudReferentiel* Noeud);
  bool VerifierChemins(TNoeudReferentiel* Noeud);
};

// The registry's entry points (class methods only).
class TReferentiel {
 public:
  TReferentiel() = delete;

  // Makes the node of Classe (an article class) and those it needs; True.
  static bool EnregistrerClasse(const TClass* Classe);
  // A new list of every field of the class, ancestors first; empty for a class without node. The
  // caller frees the list, never its items.
  static TListeChampsPublies* ChampsPublies(const TClass* Classe);
  // The access path of field NumeroChamp of the class; nil when it has none or is out of range.
  static TInfosAcces* InfosAcces(const TClass* Classe, int32_t NumeroChamp);
  static bool AjouterTable(TCustomTable* Table);
  // Nothing (False) once the registry is gone or when the class has no node.
  static bool RetirerTable(TCustomTable* Table);
  static void AjouterChampReference(TCustomChamp* Champ, const TClass* ClasseReferencee);
  static void RetirerChampReference(TCustomChamp* Champ, const TClass* ClasseReferencee);
  // The node of a class, nil when it has none (the registry is not made by asking).
  static TNoeudReferentiel* Noeud(const TClass* Classe);

  // The tables of the base (nil: of every base and none) found by the table walk from the class's
  // node, so those of the class or of its descendants; none for a class without node.
  static std::vector<TCustomTable*> TablesDeClasse(const TClass* ClasseArticle, TBase* Base);
  // The table walk from the root; the walk's result (1 when a visitor stopped it).
  static int32_t TraiterTables(TCustomTraiterInstance* Traitement, TBase* Base);
  // A new collected list of the rows that designate Reference through a reference column typed with
  // its table's class or an ancestor, and that Filtre accepts (all without a filter); with a base,
  // only the columns of that base's tables; the columns of transient tables are skipped when the
  // filter says so. Empty when the class has no node.
  static TListeArticles* ArticlesReferencants(const TypeReferenceArticle& Reference, TCustomFiltreArticle* Filtre,
                                              TBase* Base, bool AvecDoublons);
  // The same for the article an article object designates (a transient: its origin).
  static TListeArticles* ArticlesReferencantsArticle(TArticle* Article, TCustomFiltreArticle* Filtre, TBase* Base,
                                                     bool AvecDoublons);
  // Frees every table of the base; True unless a visitor stopped the walk.
  static bool SupprimerTables(TBase* Base);
  // Cible's tables are freed, then every table of Source gets a structural copy in Cible, registered
  // under its model's node. The copies are registered before any is filled, so that a reference to
  // an article of a table of Source is carried over to the copy of that table. Nothing for a missing
  // base or a base copied onto itself.
  static void CopierTables(TBase* Source, TBase* Cible);
  // Writes the requested parts under Parent: "referentiel" (the class tree, restricted to the nodes
  // that have an entry for Base when it is given), "schema" and "data" (the tables without base,
  // then the bases, of the tables of Base or of every table).
  static void ExporterReferentielXML(TNoeudXML Parent, TypePartiesXML Parties, TBase* Base);
};

// Owns the root of the tree and the classes whose node is being made.
class TReferentielManager : public TClasseFinalisable {
 public:
  static const TClasseFinalisable::Class* StaticClass();

  // The root, made on first use.
  static TNoeudReferentiel* Racine();
  static bool Existe();
  // Add to / remove from the classes whose node is being made; True when that changed.
  static bool MarquerEnCours(const TClass* Classe);
  static bool RetirerEnCours(const TClass* Classe);
  static bool EnCours(const TClass* Classe);
  // Frees the whole tree.
  static void Finaliser();
};

namespace Referentiel {
// Writes the module line and registers the registry's holder for finalisation.
void Initialiser();
}  // namespace Referentiel
