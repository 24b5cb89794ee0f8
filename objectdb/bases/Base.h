// The base: a named database of the object database, a set of indexed tables that belong together,
// at most one per article class. The base keeps no list of its tables: a table belongs to it because
// it was created with it, and the schema registry answers every question about them (which tables,
// how many, the table of a class). A base creates the table of an article class, copies the table
// structure of another base, fills its tables with their default articles, is written to and read
// from a binary stream by class name (its name and flag only), and is traced.
//
// Main thread only. Destroying a base frees the tables the registry still records for it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/diagnostics/DelegueTracable.h"
#include "core/serial/Serialisation.h"
#include "objectdb/properties/TypeDBNoyau.h"
#include "objectdb/schema/ExportXML.h"

class TCustomTable;
class TCustomTraiterInstance;
class TTable;

class TBase : public TCustomSerializable, public ISaveToXMLNode {
 public:
  // The descriptor of a base class carries its class methods. A class whose descriptor is a plain
  // TClass has those of its nearest ancestor that has some (TBase's at least).
  struct Class : TClass {
    using TClass::TClass;
    // The table class for an article class: TTable, whatever the arguments.
    virtual const TClass* ClasseTable(const TClass* ClasseArticle, TObject* Parametre) const;
  };
  static const TClass* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }
  static const Class* Descripteur(const TClass* Classe);

  TBase() = default;
  TBase(const std::string& Nom, bool Drapeau);
  explicit TBase(TBlank b) : TCustomSerializable(b) {}
  // EI_Detruite; the registry frees every table of the base.
  ~TBase() override;

  TypeEtatIndex Etat = EI_Valide;
  // Kept, copied and serialized; nothing interprets it.
  bool Drapeau = false;
  std::string Nom;

  // A table of the class ClasseTable gives for the article class, in this base, with a default index
  // and 1024 rows per page; nil when the base has a table of that class already.
  virtual TTable* CreerTable(const TClass* ClasseArticle, TObject* Parametre);
  // Nom (a string) then Drapeau (a Boolean).
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;
  // Takes Source's name and flag and, unless SansTables, a structural copy of its tables in place of
  // its own.
  virtual void Assigner(TBase* Source, bool SansTables);
  // Every table of the base fills itself with its default articles; 0.
  virtual int32_t CreerArticlesParDefaut();

  // Traces: empty header and content; the complete trace of every table with Detail, else the
  // summary "<class> contenant <n> tables(s)".
  virtual void TracerEntete(TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void TexteResume(std::string& Texte);
  void TracerResume(std::string& Texte) { TexteResume(Texte); }
  bool TraceActive() const { return delegue_.TraceActive(); }
  ITracable* GetTracable() { return delegue_.Tracable(); }

  // The tables of this base that hold ClasseArticle or a descendant class.
  std::vector<TCustomTable*> TablesDeClasse(const TClass* ClasseArticle);
  // The single table of TablesDeClasse; nil when there is none or more than one.
  TTable* TableDeClasse(const TClass* ClasseArticle);
  int32_t NombreTables();
  // Runs a table visitor over the tables of the base; 1 when it stopped the walk, else 0.
  int32_t TraiterTables(TCustomTraiterInstance* Traitement);

  // Schema and data parts: a "base" element ("classe", the base's class name; not its name) under
  // which every table of the base adds its "table" element. The registry part: the registry's tree
  // restricted to this base under Parent, which is Noeud.
  void SaveToXMLNode(TNoeudXML Parent, TypePartieXML Partie, TNoeudXML& Noeud) override;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  TPorteurDelegue<TBase> delegue_{this};
};

namespace Base {
// Registers TBase by class name, so that a base can be read back from a stream.
void Initialiser();
}  // namespace Base
