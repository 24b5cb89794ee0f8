// A page metafile played onto the pixel canvas, stretched to twice its size: what a preview shows.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/gui/Metafichier.h"
#include "platform/cairo/CanvasCairo.h"

TEST(PageMetafichier, APlayedPagePaintsItsShapesAndTextsStretched) {
  Metafichier::TMetafile page(200, 150);
  {
    Metafichier::TMetafileCanvas c(page);
    c.Brush.Color = Couleurs::clYellow;
    c.Pen.Color = Couleurs::clBlue;
    c.Rectangle({10, 10, 90, 60});
    c.Brush.Color = Couleurs::clRed;
    c.Ellipse({100, 10, 190, 60});
    c.Brush.Color = Couleurs::clGreen;
    c.RoundRect({10, 70, 90, 110}, 20, 20);
    c.Font.Name = "Arial";
    c.Font.Height = 14;
    c.Font.Color = Couleurs::clBlack;
    c.Brush.Style = TBrushStyle::bsClear;
    c.TextOut(100, 80, "\xC9l\xE8ve 12");
    c.Pen.Width = 3;
    c.MoveTo(0, 140);
    c.LineTo(200, 140);
  }
  TCanvasCairo pixels(400, 300);
  page.Jouer(pixels, {0, 0, 400, 300});
  EXPECT_EQ(pixels.LirePixel(100, 70), Couleurs::clYellow);  // inside the rectangle
  EXPECT_EQ(pixels.LirePixel(20, 20), Couleurs::clBlue);     // its frame
  EXPECT_EQ(pixels.LirePixel(290, 70), Couleurs::clRed);     // the ellipse's centre
  EXPECT_EQ(pixels.LirePixel(204, 24), Couleurs::clWhite);   // outside the ellipse, inside its box
  EXPECT_EQ(pixels.LirePixel(100, 180), Couleurs::clGreen);  // the rounded rectangle
  EXPECT_EQ(pixels.LirePixel(200, 281), Couleurs::clBlue);  // the line in the pen still blue, 6 pixels wide once stretched
  int encre = 0;
  for (int y = 160; y < 200; ++y)
    for (int x = 200; x < 330; ++x) encre += pixels.LirePixel(x, y) == Couleurs::clBlack;
  EXPECT_GT(encre, 100);  // the text is drawn
  std::filesystem::create_directories(NV_DOSSIER_IMAGES);
  EXPECT_TRUE(pixels.SauverPNG(std::string(NV_DOSSIER_IMAGES) + "/page-metafichier.png"));
}
