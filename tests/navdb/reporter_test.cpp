#include "navdb/reporter.h"

#include <gtest/gtest.h>

#include "planner/plan_reporter.h"
#include "scanner/scan_reporter.h"

namespace {

using navdb::MessageAnswer;
using navdb::MessageButtons;
using navdb::MessageIcon;

// Work done with nobody to ask (the host reading the stations, a command
// without a terminal) must take the answer that changes nothing: never
// "Yes" to overwriting, never "Retry" forever, never a scan aborted.
TEST(Reporter, TheSilentFrontEndAnswersWhatChangesNothing) {
  const navdb::Reporter silent;
  const std::pair<MessageButtons, MessageAnswer> cases[] = {
      {MessageButtons::Ok, MessageAnswer::Ok},
      {MessageButtons::YesNo, MessageAnswer::No},
      {MessageButtons::RetryCancel, MessageAnswer::Cancel},
      {MessageButtons::OkCancel, MessageAnswer::Cancel},
      {MessageButtons::YesNoCancel, MessageAnswer::Cancel},
  };
  for (const auto& [buttons, answer] : cases) {
    EXPECT_EQ(navdb::ShowMessage(silent, "Warning", "Save ?", MessageIcon::Question, buttons),
              answer)
        << static_cast<int>(buttons);
  }

  const scanner::ScanReporter scan;
  const scanner::DuplicateAnswer kept = scan.ChooseDuplicate({});
  EXPECT_EQ(kept.outcome, scanner::DuplicateOutcome::KeepBoth);
  EXPECT_FALSE(kept.always);

  const planner::PlanReporter plan;
  EXPECT_FALSE(plan.PickWaypoint({}).has_value());
  const planner::ChosenPick chosen({navdb::NavaidKind::Vor, 7});
  const std::optional<planner::WaypointPick> picked = chosen.PickWaypoint({true, std::nullopt});
  ASSERT_TRUE(picked.has_value());
  EXPECT_EQ(picked->kind, navdb::NavaidKind::Vor);
  EXPECT_EQ(picked->row, 7u);
}

// ShowMessage hands every part of the message to the front end unchanged.
TEST(Reporter, ShowMessageHandsOverEveryPart) {
  struct Asked : navdb::Reporter {
    mutable navdb::MessageRequest seen;
    MessageAnswer Message(const navdb::MessageRequest& request) const override {
      seen = request;
      return MessageAnswer::Retry;
    }
  } asked;
  EXPECT_EQ(navdb::ShowMessage(asked, "Index Error", "Can't add index to list.", MessageIcon::Error,
                               MessageButtons::RetryCancel, true),
            MessageAnswer::Retry);
  EXPECT_EQ(asked.seen.caption, "Index Error");
  EXPECT_EQ(asked.seen.text, "Can't add index to list.");
  EXPECT_EQ(asked.seen.icon, MessageIcon::Error);
  EXPECT_EQ(asked.seen.buttons, MessageButtons::RetryCancel);
  EXPECT_TRUE(asked.seen.topmost);
}

}  // namespace
