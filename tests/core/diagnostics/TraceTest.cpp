// Trace lines: indentation, numbering, time stamps, inactive tracers, the block of a traced object,
// and the bounded memory of in-memory tracers.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/values/DateTime.h"
#include "core/diagnostics/Trace.h"

namespace {
std::string Contents(TCustomTraceur& t) { return static_cast<TMemoryStream*>(t.Flux())->AsString(); }
}  // namespace

TEST(Traceur, LineFormatByLevelAndLineNumber) {
  TCustomTraceur t("");
  std::string ligne;
  t.Tracer("abc", ligne);
  EXPECT_EQ(ligne, "abc\r\n");
  t.SetNiveau(2);
  t.Tracer("abc", ligne);
  EXPECT_EQ(ligne, "    abc\r\n");
  t.SetNiveau(-3);
  EXPECT_EQ(t.Niveau(), 0);

  TCustomTraceur n("");
  n.NumerosDeLigne = true;
  n.Tracer("x", ligne);
  EXPECT_EQ(ligne, "[     1 ] x\r\n");
  for (int i = 2; i <= 12; ++i) n.Tracer("y", ligne);
  EXPECT_EQ(ligne, "[    12 ] y\r\n");
  EXPECT_EQ(Contents(t), "abc\r\n    abc\r\n");
}

TEST(Traceur, EmptyTextAndInactiveTracerWriteNothing) {
  TCustomTraceur t("");
  std::string ligne = "old";
  t.Tracer("", ligne);
  EXPECT_EQ(ligne, "");
  t.Actif = false;
  t.Tracer("abc", ligne);
  EXPECT_EQ(ligne, "");
  EXPECT_EQ(t.Compteur(), 0);
  EXPECT_EQ(t.Flux()->Size(), 0);
}

TEST(Traceur, PropertyFormatTimeStampAndEvent) {
  TCustomTraceur t("");
  std::string ligne, seen;
  t.SurTrace = [&](TCustomTraceur*, const std::string& l) { seen = l; };
  t.TracerPropriete("Message", "x", ligne);
  EXPECT_EQ(ligne, "Message = x\r\n");
  EXPECT_EQ(seen, ligne);
  t.TracerFormat("%d-%s", {7, "z"}, ligne);
  EXPECT_EQ(ligne, "7-z\r\n");
  t.FermerBloc("classe", ligne);
  EXPECT_EQ(ligne, "");

  DateTime::SetClock([] { return DateTime::EncodeDate(2026, 3, 4) + DateTime::EncodeTime(5, 6, 7, 0); });
  t.Horodatage = true;
  t.SetNiveau(1);
  t.Tracer("abc", ligne);
  DateTime::SetClock(nullptr);
  EXPECT_EQ(ligne, "04/03/26 05:06:07 |   abc\r\n");
}

TEST(Traceur, FileTracerWritesItsFile) {
  auto path = (std::filesystem::temp_directory_path() / "nv_trace_test.txt").string();
  {
    TCustomTraceur t(path);
    std::string ligne;
    t.Tracer("one", ligne);
  }
  EXPECT_EQ(std::filesystem::file_size(path), 5u);
  std::filesystem::remove(path);
}

TEST(Traceur, InMemoryTracerKeepsOnlyRecentLines) {
  TCustomTraceur t("");
  std::string ligne;
  const std::string text(100, 'x');
  for (int i = 0; i < 10000; ++i) t.Tracer(text, ligne);
  EXPECT_EQ(ligne, text + "\r\n");  // the text is still returned
  EXPECT_LE(t.Flux()->Size(), TCustomTraceur::kMemoireMaximale);
  EXPECT_EQ(t.Flux()->Size() % 102, 0);  // whole lines only
  EXPECT_EQ(t.Compteur(), 10000);
}

namespace {
class TPoint : public TCustomTracable {
  NV_DECLARE_CLASS(TPoint)
 public:
  using TCustomTracable::TCustomTracable;
  void TracerEntete(TCustomTraceur* Traceur, std::string& Texte) override {
    Traceur->TracerPropriete("X", "1", Texte);
  }
};
NV_DEFINE_CLASS(TPoint, TCustomTracable)
}  // namespace

TEST(Tracable, CompleteBlockIsClassNameThenOwnLinesOneLevelDeeper) {
  TCustomTraceur t("");
  std::string texte;
  TPoint p;
  p.TracerComplet(true, &t, texte);
  EXPECT_EQ(texte, "TPoint\r\n  X = 1\r\n");
  EXPECT_EQ(t.Niveau(), 0);

  TCustomTracable plain;
  plain.TracerComplet(false, &t, texte);
  EXPECT_EQ(texte, "TCustomTracable\r\n");
  plain.SetTraceActive(false);
  plain.TracerComplet(false, &t, texte);
  EXPECT_EQ(texte, "");

  TObject notTraceable;
  TCustomTracable::TracerObjet(&notTraceable, true, &t, texte);
  EXPECT_EQ(texte, "");
  TCustomTracable::TracerObjet(&p, true, nullptr, texte);  // the default tracer
  EXPECT_EQ(texte, "TPoint\r\n  X = 1\r\n");
}

TEST(InterfacedObjects, NoReferenceCountingAndNoInterfaceGivesNil) {
  TCustomTracable o;
  EXPECT_EQ(o._AddRef(), 1);
  EXPECT_EQ(o._Release(), 1);
  void* out = &o;
  EXPECT_EQ(o.QueryInterface(MakeGUID("{2976B4CE-F0DA-4151-81AC-A00A6696ECA1}"), &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(o.QueryInterface(ITracable::IID, &out), S_OK);
  EXPECT_EQ(out, static_cast<void*>(static_cast<ITracable*>(&o)));
}
