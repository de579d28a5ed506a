// Expectations on what a player was shown, shared by the suites that drive the game.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "standin/World.h"

// `controller` was shown exactly one notification: `text` in red (1, 0, 0, 1) with the numbers
// 2.0 and 10.0 and no texture or sound, as a refused mission start shows it.
inline void ExpectRedNotification(const StandIn::Controller& controller, const std::string& text) {
  ASSERT_EQ(controller.Notifications().size(), 1u);
  const StandIn::Notification& shown = controller.Notifications()[0];
  EXPECT_EQ(shown.Text, text);
  EXPECT_EQ(shown.Color.R, 1.0f);
  EXPECT_EQ(shown.Color.G, 0.0f);
  EXPECT_EQ(shown.Color.B, 0.0f);
  EXPECT_EQ(shown.Color.A, 1.0f);
  EXPECT_EQ(shown.First, 2.0f);
  EXPECT_EQ(shown.Second, 10.0f);
  EXPECT_EQ(shown.Texture, nullptr);
  EXPECT_EQ(shown.Sound, nullptr);
}
