// Tree nodes: a serialisable, traceable node that owns its children, and the temporary node that the
// collector owns exactly while it has no parent (the error tree is one). Attaching a node moves it
// from wherever it was; a node is freed by its parent, or by the collector when it has none.
#pragma once

#include <string>

#include "core/diagnostics/DelegueTracable.h"
#include "core/serial/Serialisation.h"

class TCustomTraiterInstance;

class TArbre : public TCustomSerializable {
  NV_DECLARE_CLASS(TArbre)
 public:
  TArbre() = default;
  explicit TArbre(TBlank b) : TCustomSerializable(b) {}
  // Frees the children and the trace delegate. A node that still has a parent leaves its parent's
  // list first, so the parent never holds a freed child.
  ~TArbre() override;

  // The number of children, then each child as an object (its own subtree follows it).
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  // Replaces the children by those of the stream; an entry that is not a tree node raises EReadError.
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;

  virtual void SetParent(TArbre* Noeud);
  // Appends Noeud to the children, taking it from its former parent; returns its index, or -1 when
  // Noeud is nil, this node itself, or already a direct child. When Noeud is an ancestor of this node
  // the two change places: with P > C > S, S.AjouterFils(C) gives P > S > C.
  virtual int AjouterFils(TArbre* Noeud);
  // Detaches Noeud (without freeing it) when it lies in this subtree (this node included); returns
  // whether it does.
  virtual bool SupprimerFils(TArbre* Noeud);

  // Own lines: none for a plain node.
  virtual void TracerEntete(TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerResume(std::string& Texte);

  // True when Noeud is this node or lies in its subtree.
  bool Contient(const TArbre* Noeud) const;
  // The visitor on each direct child in order; True when a call stopped the walk.
  bool TraiterFils(TCustomTraiterInstance* Visiteur);
  // Parent.AjouterFils(this).
  void AjouterA(TArbre* Parent);

  TArbre* GetParent() const { return parent_; }
  int NombreFils() const { return fils_.Count(); }
  TArbre* Fils(int Index) const { return static_cast<TArbre*>(fils_.Items(Index)); }
  bool TraceActive() const { return delegue_.TraceActive(); }

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  void LibererFils();

  TObjectList fils_{true};
  TArbre* parent_ = nullptr;
  TPorteurDelegue<TArbre> delegue_{this};
};

struct IArbreTemporaire : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{397ECA05-205C-468F-B884-4B81E979DA40}");
  virtual void InscrireRamasseMiettes() = 0;
  virtual void DesinscrireRamasseMiettes() = 0;
  virtual bool EstInscrit() = 0;

 protected:
  ~IArbreTemporaire() = default;
};

// A node handed to the collector at creation and whenever it loses its parent, taken back whenever
// it gets one. A node read from a stream is built blank and is therefore not handed over: its reader
// owns it.
class TArbreTemporaire : public TArbre, public IArbreTemporaire {
  NV_DECLARE_CLASS(TArbreTemporaire)
 public:
  TArbreTemporaire();
  explicit TArbreTemporaire(TBlank b) : TArbre(b) {}
  // Leaves the collector, then frees the subtree.
  ~TArbreTemporaire() override;

  void SetParent(TArbre* Noeud) override;

  void InscrireRamasseMiettes() override;
  void DesinscrireRamasseMiettes() override;
  bool EstInscrit() override;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;
};

namespace Arbre {
// Registers the tree classes by name, so that trees can be read before any has been built.
void Initialiser();
}  // namespace Arbre
