// The enhanced-metafile subset that holds one report page: a page recorded from canvas calls, kept
// as the platform's metafile bytes (a header record, object, state and drawing records, an end
// record), written to and read from a stream, played back onto any canvas stretched into a
// rectangle, and enumerated record by record.
//
// What is written: the header (" EMF" at byte 40, bounds in device units, frame in hundredths of a
// millimetre, byte, record and handle counts), pens, solid and clear brushes, fonts, text colour,
// background mode and colour, text alignment, lines, rectangles, ellipses, rounded rectangles,
// filled and framed rectangles, pixels, pictures, the clip rectangle and wide text. What is read
// besides: ANSI text, saved and restored states, stock objects and the clip intersection. Every
// other record is skipped. Focus rectangles belong to windows, never to pages, and are not
// recorded.
//
// A metafile read from outside bytes is checked as a whole when it is loaded (signature, every
// record's size, each known record's fields, handle indices, text offsets and counts); a bad one
// raises EReadError and nothing of it is kept. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/serial/Streams.h"
#include "platform/gui/Graphiques.h"

namespace Metafichier {

// Record types of the subset.
inline constexpr uint32_t EMR_HEADER = 1, EMR_EOF = 14, EMR_SETPIXELV = 15, EMR_SETBKMODE = 18, EMR_SETTEXTALIGN = 22,
                          EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25, EMR_MOVETOEX = 27, EMR_INTERSECTCLIPRECT = 30,
                          EMR_SAVEDC = 33, EMR_RESTOREDC = 34, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38,
                          EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42, EMR_RECTANGLE = 43,
                          EMR_ROUNDRECT = 44, EMR_LINETO = 54, EMR_FRAMERGN = 72, EMR_EXTSELECTCLIPRGN = 75,
                          EMR_BITBLT = 76, EMR_STRETCHDIBITS = 81, EMR_EXTCREATEFONTINDIRECTW = 82,
                          EMR_EXTTEXTOUTA = 83, EMR_EXTTEXTOUTW = 84;
inline constexpr uint32_t kSignature = 0x464D4520;  // " EMF"
inline constexpr uint32_t kTailleEntete = 88;

// One record as enumerated: its type and its bytes (type and size fields included).
struct TEnregistrement {
  uint32_t Type = 0;
  const uint8_t* Octets = nullptr;
  uint32_t Taille = 0;
};

// The text of a text-out record, in 1252 (ANSI records as their bytes, wide ones converted); false
// for any other record or when its offset or count does not lie within the record.
bool TexteEnregistrement(const TEnregistrement& E, std::string& Texte);

class TMetafile {
 public:
  // An empty page of Largeur x Hauteur device units on a device of PixelsParPouce dots per inch.
  TMetafile(int Largeur, int Hauteur, int PixelsParPouce = 96);
  TMetafile(const TMetafile&) = delete;
  TMetafile& operator=(const TMetafile&) = delete;

  // The bounds' width and height (device units).
  int Width() const;
  int Height() const;
  // The whole metafile as the platform writes it.
  const std::vector<uint8_t>& Octets() const { return octets_; }

  void SaveToStream(TStream& Flux) const { Flux.WriteBuffer(octets_.data(), static_cast<int64_t>(octets_.size())); }
  // Reads one metafile at the stream's position: its size comes from its header record, bounded by
  // what the stream holds. EReadError when the bytes are short or not a valid metafile.
  static std::unique_ptr<TMetafile> LoadFromStream(TStream& Flux);
  static std::unique_ptr<TMetafile> LoadFromBytes(const uint8_t* Octets, std::size_t Taille);

  // Calls Visiteur for each record in order, the header and end records included, until it answers
  // false.
  void Enumerer(const std::function<bool(const TEnregistrement&)>& Visiteur) const;
  // Draws the page onto Cible, its bounds stretched into R (coordinates relative to Cible's origin);
  // the canvas's state (font, pen, brush, clip, origin) is the same afterwards.
  void Jouer(TCanvas& Cible, const TRect& R) const;

 private:
  friend class TMetafileCanvas;
  TMetafile() = default;
  std::vector<uint8_t> octets_;
};

// The canvas that records into a metafile. The metafile is complete (end record, counts in its
// header) when the canvas is freed or Fermer is called; drawing after that raises nothing and
// records nothing.
class TMetafileCanvas : public TCanvas {
 public:
  explicit TMetafileCanvas(TMetafile& Page);
  ~TMetafileCanvas() override;
  void Fermer();

 protected:
  void DoFillRect(const TRect& R) override;
  void DoFrameRect(const TRect& R) override;
  void DoRectangle(const TRect& R) override;
  void DoEllipse(const TRect& R) override;
  void DoRoundRect(const TRect& R, int LargeurCoin, int HauteurCoin) override;
  void DoLine(TPoint De, TPoint A) override;
  void DoPixel(TPoint P, TColor Couleur) override;
  void DoTextOut(TPoint P, const std::string& Texte) override;
  void DoFocusRect(const TRect&) override {}
  void DoDraw(const TRect& R, const TBitmap& Image) override;
  void DoClip(const TRect* R) override;

 private:
  void Plume();
  void Brosse();
  void Police();
  void FondTexte();
  void Ajouter(const std::vector<uint8_t>& Enregistrement);

  TMetafile& page_;
  std::vector<uint8_t> corps_;
  uint32_t nombre_ = 0;
  bool ferme_ = false;
  // What is selected in the recorded context, so that each state is recorded once.
  bool plumeChoisie_ = false, brosseChoisie_ = false, policeChoisie_ = false;
  TPen plume_;
  TBrush brosse_;
  TFont police_;
  TColor couleurTexte_ = Couleurs::clBlack;
  int modeFond_ = 2;
  TColor couleurFond_ = Couleurs::clWhite;
  uint32_t slotPlume_ = 1, slotBrosse_ = 3, slotPolice_ = 5;
  TPoint position_;
};

}  // namespace Metafichier
