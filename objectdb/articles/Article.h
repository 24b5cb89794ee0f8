// The article: one row of a table of the object database seen as an object, whose published
// properties are the table's columns. An article holds no values: it designates a row and reads and
// writes that row's values through typed accessors. The same class serves as the shared object of a
// row (made by the table's factory), as a transient copy that is edited and written back, and as a
// plain reference. Creating, changing and deleting rows return an error tree (nil for success).
//
// Main thread only. Setters write the column directly (no index upkeep, no notification); they
// refuse an article that is no longer valid, so that a stale article never writes at row
// 0x7FFFFFFF.
#pragma once

#include <cstdint>
#include <string>

#include "core/objects/Exceptions.h"
#include "core/objects/ObjetInterfacable.h"
#include "core/objects/Verification.h"
#include "objectdb/properties/ProprietePubliee.h"
#include "objectdb/properties/ReferenceArticle.h"
#include "objectdb/properties/TypeDBNoyau.h"
#include "objectdb/schema/ExportXML.h"

class TCustomTable;
class TCustomTraceur;
class TErreur;
class TListeArticles;
class TTable;
class TTableDeTransitoires;

// A setter was called on an article that designates no row any more.
class EArticleInvalide : public Exception {
 public:
  using Exception::Exception;
};

// How an article object designates its row.
enum TypeModeArticle : uint8_t {
  MA_Table = 0,         // the shared object of a row, made by the table's factory
  MA_Transitoire = 1,   // a transient copy owning a row of its class's transient table
  MA_Reference = 2,     // a plain reference to a row
};

class TArticle : public TObjetInterfacable, public ISaveToXMLNode {
  NV_DECLARE_CLASS(TArticle)
 public:
  // The descriptor of an article class carries the class-level hooks. A class whose descriptor is a
  // plain TClass has the hooks of its nearest ancestor that has some (TArticle's at least).
  struct Class : TClass {
    using TClass::TClass;
    // A new list of every published field of Classe, those of its ancestors first.
    virtual TListeChampsPublies* CreerListeChampsPublies(const TClass* Classe) const;
    // Run by an indexed table of the class right after it made its default index; nothing here.
    virtual void CreerIndex(TTable* /*Table*/) const {}
    // Fills a new table of the class with its default articles; nothing here.
    virtual void CreerArticlesParDefaut(TTable* /*Table*/) const {}
    // The article that replaces a deleted referenced article of the class in Table; none here.
    virtual TArticle* ArticleParDefaut(TCustomTable* /*Table*/) const { return nullptr; }
  };
  // The hooks of an article class (TArticle's for a class that is not an article class).
  static const Class* Descripteur(const TClass* Classe);

  // A plain article in reference mode that designates nothing (takes a Handle).
  TArticle();
  // Takes the next Handle. Other modes designate row Numero - 1 of Table. A transient ignores Numero
  // and allocates a fresh row in Table, which must be the transient table of its class (EInvalidCast
  // for another table): a base constructor cannot see the class being built, so transients are made
  // through CreerTransitoire or Nouveau, which pass it.
  TArticle(TCustomTable* Table, TypeModeArticle Mode, int32_t Numero);
  explicit TArticle(TBlank b) : TObjetInterfacable(b) {}
  // A transient that still has a row gives it back to its transient table.
  ~TArticle() override;

  // Serial number of the process, never reused while the counter has not come round.
  int32_t Handle = 0;
  // The table that holds the article's row (not owned) and the 0-based row; kAucuneLigne for none.
  TCustomTable* Table = nullptr;
  uint32_t IndiceArticle = kAucuneLigne;
  TypeModeArticle Mode = MA_Reference;
  // The 1-based position in the index through which the article was last reached; 0 for none.
  int32_t Position = 0;
  TypeEtatIndex Etat = EI_Valide;

  // An article of Classe (a descendant of TArticle; EInvalidCast otherwise) built as the constructor
  // builds one: the factories make the articles of a table's class through it.
  static TArticle* Nouveau(const TClass* Classe, TCustomTable* Table, TypeModeArticle Mode, int32_t Numero);
  // The transient table of the article's class, made on first use.
  TTableDeTransitoires* TableDeTransitoires() const;
  // A transient copy of row Numero - 1 of Table (Numero 0x7FFFFFFF and no table: an empty one).
  static TArticle* CreerTransitoire(const TClass* Classe, TCustomTable* Table, int32_t Numero);
  // Gives a transient back to its factory for reuse, without origin.
  void RestituerTransitoire();
  // The factory frees its pooled articles: a table's article forgets its table first.
  void Liberer();
  // State EI_Detruite, no row: every holder of the shared object sees that its row is gone.
  void Invalider();

  // The article exists, is not invalidated, has a table and, unless it is a transient, its row is in
  // use.
  bool EstValide() const;
  // The designated article: for a transient, its origin; the null reference for an article that is
  // not valid or has no row.
  void GetReference(TypeReferenceArticle& Reference) const;
  // A transient takes row Numero - 1 of Table as its origin (and copies its values when Copier);
  // another article designates that row.
  void Designer(TCustomTable* Table, int32_t Numero, bool Copier);
  // A transient forgets its origin; its values stay.
  void DetacherTransitoire();

  // Typed column accessors (Index = column number) at the article's row. A column of another type
  // raises EInvalidCast; a setter on an article that is not valid raises EArticleInvalide.
  uint32_t GetChampCardinal(int32_t Index) const;
  void SetChampCardinal(int32_t Index, uint32_t Valeur);
  int32_t GetChampInteger(int32_t Index) const;
  void SetChampInteger(int32_t Index, int32_t Valeur);
  std::string GetChampString(int32_t Index) const;
  void SetChampString(int32_t Index, const std::string& Valeur);
  TObject* GetChampObject(int32_t Index) const;
  void SetChampObject(int32_t Index, TObject* Valeur);

  // Copies Source's values into the article's row (a reference is re-pointed instead); False when
  // either is not valid. AssignerTransitoire also makes Source (or its origin) the transient's origin.
  virtual bool Assigner(TArticle* Source);
  virtual bool AssignerTransitoire(TArticle* Source);
  // A transient empties its row; nothing for other modes.
  virtual void LibererTransitoire();
  // Writes the article's values into a new row of Table and designates it.
  virtual TErreur* Creer(TCustomTable* Table);
  // Takes Source's values (when given) and, for a transient, writes them back to its origin.
  virtual TErreur* Modifier(TArticle* Source);
  // Whether the designated article may be deleted with everything its deletion entails
  // (TPlanSuppression): nil, or the collected error tree that tells why not.
  virtual TErreur* TesterSuppression();
  // A new list of the articles of Liste whose deletion test finds nothing against them.
  virtual TListeArticles* ListeSupprimables(TListeArticles* Liste);
  // Deletes the designated row through its table.
  virtual TErreur* Supprimer();
  // Per-article verification hook; nothing here.
  virtual void Verifier(TypeOptionsVerification Options, TErreur*& Erreur);
  // Traces. TracerProprietes and TracerElements give nothing here. Tracer with Detail is the table's
  // trace of the row; without, the "classe" block holding the two. TexteTrace is the row's values
  // joined by " | ". All empty while the table's trace is switched off or without a row.
  virtual void TracerProprietes(TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerElements(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void Tracer(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void TexteTrace(std::string& Texte);

  // An "article" element with the attribute "numero" (the designated article's number, 0x7FFFFFFF
  // for none) and, for an article that designates a row, one "champ" per column of its table whose
  // text is the column's value text at that row.
  void SaveToXMLNode(TNoeudXML Parent, TypePartieXML Partie, TNoeudXML& Noeud) override;

  // The class-level hooks of Classe (see Class).
  static TArticle* ArticleParDefaut(const TClass* Classe, TCustomTable* Table);
  static void CreerIndex(const TClass* Classe, TTable* Table);
  static void CreerArticlesParDefaut(const TClass* Classe, TTable* Table);
  // A new list of every published field of Classe, those of its ancestors first, each a new
  // TChampPublie that the caller takes over with the list (the list does not free them).
  static TListeChampsPublies* CreerListeChampsPublies(const TClass* Classe);

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  void Construire(TCustomTable* Table, TypeModeArticle Mode, int32_t Numero);
  // The transient table that holds a transient's row; nil for another article.
  TTableDeTransitoires* Transitoires() const;
  void ExigerValide() const;
  template <class TChamp>
  TChamp* ChampType(int32_t Index) const;
};

// Defines the descriptor of an article class whose hooks are those of Descripteur, a subclass of
// TArticle::Class: NV_DEFINE_ARTICLE_CLASS(TMonArticle, TArticle, kProprietes, TClasseMonArticle).
#define NV_DEFINE_ARTICLE_CLASS(Self, Parent, Proprietes, Descripteur)                                \
  const TClass* Self::StaticClass() {                                                                \
    static const Descripteur descriptor(#Self, Parent::StaticClass(), &NewBlankOf<Self>, Self::Proprietes); \
    return &descriptor;                                                                              \
  }

namespace Article {
// The Handle after Dernier: one more, coming round to 1 after the largest 32-bit value instead of
// overflowing.
int32_t HandleSuivant(int32_t Dernier);
// Mode 0 of the article arrays: the table compares the rows column by column for two articles of
// the same class (0 for the same object); articles of different classes follow their class names,
// Autre's compared with Article's, without case.
int8_t ComparerArticles(TArticle* Article, TArticle* Autre);
// Gives the access-path items their empty element's article class.
void Initialiser();
}  // namespace Article
