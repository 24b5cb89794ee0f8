// The schema registry: the process-wide catalogue of the object database. One tree whose nodes are
// article classes (the root is TArticle, a node's children its registered subclasses) records for
// every class the published fields declared at its level, the tables of the class in each base, the
// classes of those bases and the reference columns that point to the class. A table asks it for the
// complete field list of its class, ancestors first, and registers itself with it; a column asks it
// for its field's access path.
//
// Main thread only. The root is made on first use and freed, with the whole tree, when the registry's
// holder is finalised. A class node holds at most one table per base (and one without base).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfClasses.h"
#include "core/objects/Arbre.h"
#include "core/objects/ClasseFinalisable.h"
#include "objectdb/arrays/ArrayOfBaseEtTable.h"
#include "objectdb/arrays/ArrayOfChamp.h"
#include "objectdb/properties/ProprietePubliee.h"

class TBase;
class TCustomTable;
class TCustomTraiterInstance;
class TArticle;
class TCustomFiltreArticle;
class TListeArticles;
class TInfosAcces;

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
  // The table walk from this node, depth first, children in child order: with a base, a node whose
  // entry for it has a table gives that table and the walk goes no deeper; without, every table
  // registered at a node is given, then its children's. True when the visitor stopped the walk.
  bool TraiterTables(TCustomTraiterInstance* Traitement, TBase* Base);

  // "Classe = %s; Adresse = %s; Nombre champs = %d; Nombre tables = %d".
  void TracerResume(std::string& Texte) override;

 private:
  void Renumeroter();
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
  // The table walk from the root; 1 when the visitor stopped it, else 0.
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
  // Frees every table of the base (each leaves the registry first); True.
  static bool SupprimerTables(TBase* Base);
  // The tables of Cible are freed, then each table of Source gets a structural copy in Cible,
  // registered under the class of its model.
  static void CopierTables(TBase* Source, TBase* Cible);
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
