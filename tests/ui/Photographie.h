// Paints a control on a pixel canvas of its size and keeps the picture as <Nom>.png under the
// build tree's image folder, for the tests that probe pixels and for a person to look at.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/cairo/CanvasCairo.h"

inline std::unique_ptr<TCanvasCairo> Photographier(TControl& C, const std::string& Nom) {
  auto canvas = std::make_unique<TCanvasCairo>(C.Width(), C.Height());
  Peindre(C, *canvas);
  std::filesystem::create_directories(NV_DOSSIER_IMAGES);
  EXPECT_TRUE(canvas->SauverPNG(std::string(NV_DOSSIER_IMAGES) + "/" + Nom + ".png"));
  return canvas;
}
