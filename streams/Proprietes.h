// Property trees: small typed trees of named values that carry settings this system keeps for the
// server without interpreting them (the grid print and publication options). Each level holds named
// entries kept sorted by name; a value deep inside is addressed by a dotted path such as
// "ProprietesCommunes.RemonterExceptions". The TLV format (SauvegardeurTLV.h) stores them.
//
// Names compare through the system's collation without regard to letter case: two names that differ
// only in case are the same name, and a name occurs once per level. The tree owns its value objects
// and through them its texts, blocks and sub-trees. The records it hands out (Chercher, Lire,
// Element) borrow their text, block or sub-tree: they are valid until the next change of the tree.
// Errors are exceptions of the EExceptionPropriete family with fixed French texts. One thread at a
// time; no lock.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/objects/Exceptions.h"

// The kinds of value; the numbers are also the tags of the TLV format. A record built by hand may
// carry a byte above tvBlob: the writer of the TLV format refuses it.
enum TGenreValeurProp : uint8_t {
  tvEntier = 0,      // signed 32-bit integer
  tvCardinal = 1,    // unsigned 32-bit integer
  tvHuitOctets = 2,  // an 8-byte value, kept as its bytes
  tvEtendu = 3,      // an 80-bit extended real, kept as its 10 bytes
  tvChaine = 4,      // text, held with its length (an inner NUL is kept)
  tvBooleen = 5,     // one byte, 0 false; the byte given or read is kept as it is
  tvProprietes = 6,  // a sub-tree owned by the entry
  tvEnsemble = 7,    // 32 bytes
  tvBlob = 8,        // a block of bytes of any length
};

class TProprietes;

// A value record: the kind, then the content of that kind (only the field of the kind counts). The
// text, the sub-tree and the block are views: of the tree that handed the record out, or of what the
// caller made the record from.
struct TypeValeurProp {
  TGenreValeurProp Genre = tvEntier;
  int32_t Entier = 0;
  uint32_t Cardinal = 0;
  std::array<uint8_t, 8> HuitOctets{};
  std::array<uint8_t, 10> Etendu{};
  std::string_view Chaine;
  uint8_t Booleen = 0;
  const TProprietes* Proprietes = nullptr;
  std::array<uint8_t, 32> Ensemble{};
  std::span<const uint8_t> Blob;
};

// The root of the property errors.
class EExceptionPropriete : public Exception {
 public:
  using Exception::Exception;
};
// A value of another kind than the one asked for.
class EExceptionProprieteTypeMismatch : public EExceptionPropriete {
 public:
  using EExceptionPropriete::EExceptionPropriete;
};
// A name or a position that the tree does not have.
class EExceptionProprieteInexistante : public EExceptionPropriete {
 public:
  using EExceptionPropriete::EExceptionPropriete;
};
// A path that is malformed or that passes through a value which is not a sub-tree.
class EExceptionProprietePathInvalide : public EExceptionPropriete {
 public:
  using EExceptionPropriete::EExceptionPropriete;
};
// A name stored at a level that already holds it (in any letter case).
class EExceptionProprieteDoublon : public EExceptionPropriete {
 public:
  using EExceptionPropriete::EExceptionPropriete;
};

class TProprietes {
 public:
  // The object that one entry owns: a value record whose text, sub-tree or block it owns itself.
  class TValeurProp {
   public:
    // A copy of the record: the text and the block are copied, the sub-tree deeply (Copier), so
    // that the record's owner keeps what it had.
    static std::unique_ptr<TValeurProp> Create(const TypeValeurProp& Valeur);
    // tvEnsemble: 32 zero bytes into which the first Nombre bytes (at most 32) are copied.
    static std::unique_ptr<TValeurProp> CreateEnsemble(const void* Octets, int32_t Nombre);
    // tvBlob: a copy of Nombre bytes. A negative count raises EExceptionPropriete.
    static std::unique_ptr<TValeurProp> CreateBlob(const void* Octets, int32_t Nombre);
    // The owning kinds taking what they are given, without a copy (the TLV reader builds with these).
    static std::unique_ptr<TValeurProp> CreateChaine(std::string Texte);
    static std::unique_ptr<TValeurProp> CreateBlob(std::vector<uint8_t> Octets);
    static std::unique_ptr<TValeurProp> CreateProprietes(std::unique_ptr<TProprietes> Arbre);

    TValeurProp(const TValeurProp&) = delete;
    TValeurProp& operator=(const TValeurProp&) = delete;
    ~TValeurProp();

    // The record, whose views point into this object. A value of kind tvProprietes always holds a
    // sub-tree (an empty one when it was made from none).
    const TypeValeurProp& Valeur() const { return valeur_; }

   private:
    friend class TProprietes;
    TValeurProp() = default;
    void Relier();  // points the record's views at the owned storage

    TypeValeurProp valeur_;
    std::string chaine_;
    std::unique_ptr<TProprietes> proprietes_;
    std::vector<uint8_t> blob_;
  };

  TProprietes();
  ~TProprietes();
  TProprietes(const TProprietes&) = delete;
  TProprietes& operator=(const TProprietes&) = delete;

  // Splits a path at its first ".": the first name stands before it, the remainder after it; a path
  // without "." is all first name. A "." in first place raises EExceptionProprietePathInvalide
  // naming the path given.
  static void DecouperChemin(std::string_view Chemin, std::string_view& Premier, std::string_view& Reste);

  // Releases every value of this level with its texts, blocks and sub-trees.
  void Vider();
  int32_t Nombre() const;
  // The name and the record at a position (0 to Nombre - 1); another position raises
  // EExceptionProprieteInexistante.
  void Element(int32_t Position, std::string_view& Nom, TypeValeurProp& Valeur) const;

  // Stores a value object at a path; the tree takes it, and a failed store frees it. Intermediate
  // levels are never created: a path of two names needs a sub-tree under the first one. With
  // Remplacer, a name present at the last level gets the new value in place of the old one;
  // otherwise a name present raises EExceptionProprieteDoublon.
  void AjouterProp(std::string_view Chemin, std::unique_ptr<TValeurProp> Valeur, bool Remplacer);
  // Stores a copy of the record (TValeurProp::Create) without replacing.
  void Ajouter(std::string_view Chemin, const TypeValeurProp& Valeur);
  // True and the record when the path leads to an entry; false when a name is absent at its level.
  // A remainder that would pass through a value that is not a sub-tree raises.
  bool Chercher(std::string_view Chemin, TypeValeurProp& Valeur) const;
  // As Chercher; an absent path raises EExceptionProprieteInexistante.
  TypeValeurProp Lire(std::string_view Chemin) const;
  // True when the path leads to an entry; false also when it would pass through a value that is not
  // a sub-tree.
  bool Existe(std::string_view Chemin) const;
  // Removes the sub-tree entry named by the path and hands its sub-tree to the caller; nothing when
  // the first name is absent at its level. An entry of another kind raises and stays in place.
  std::unique_ptr<TProprietes> Extraire(std::string_view Chemin);
  // A new tree with the same names in the same order and deep copies of every value.
  static std::unique_ptr<TProprietes> Copier(const TProprietes& Source);

  // Value records of each kind. The text, the block and the sub-tree are viewed, not copied: keep
  // them alive until the record is stored (storing copies them).
  static TypeValeurProp ValeurEntier(int32_t Valeur);
  static TypeValeurProp ValeurCardinal(uint32_t Valeur);
  static TypeValeurProp ValeurHuitOctets(const std::array<uint8_t, 8>& Valeur);
  static TypeValeurProp ValeurEtendu(const std::array<uint8_t, 10>& Valeur);
  static TypeValeurProp ValeurChaine(std::string_view Valeur);
  static TypeValeurProp ValeurBooleen(uint8_t Valeur);
  static TypeValeurProp ValeurProprietes(const TProprietes* Valeur);

  // The byte of a tvBooleen record, non-zero for true; another kind raises the type mismatch.
  static bool ValeurEnBooleen(const TypeValeurProp& Valeur);
  // Raises EExceptionProprieteTypeMismatch when Trouve is not Attendu.
  static void VerifierType(TGenreValeurProp Trouve, TGenreValeurProp Attendu);

 private:
  struct TEntree {
    std::string Nom;
    std::unique_ptr<TValeurProp> Valeur;
  };

  // The first position whose name does not sort before Nom, and whether that entry is Nom.
  std::size_t Position(std::string_view Nom, bool& Trouve) const;
  // The entry named Nom at this level, or null.
  const TEntree* Entree(std::string_view Nom) const;
  // The sub-tree that a remainder goes on in: raises the accented path error for another kind.
  static const TProprietes& SousArbre(const TValeurProp& Valeur);

  std::vector<TEntree> entrees_;
};
