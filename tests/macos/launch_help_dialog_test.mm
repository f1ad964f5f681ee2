// The launch help dialog as AppKit builds it, inspected without showing it:
// every element, text, font and size; Copy pressed; and a bundle without a
// version ends the run before the alert exists.
#import <AppKit/AppKit.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/cf_property_list_darwin.h"
#include "identity/executable_location.h"
#include "identity/version.h"
#import "launchhelp/launch_help_delegate_darwin.h"
#include "launchhelp/dialog_texts.h"

namespace tresk {
namespace {

using ::testing::Eq;
using ::testing::ExitedWithCode;

const std::string home = "/Users/me";
const std::string installed = "/Users/me/Apps/Tresk.app/Contents/MacOS/tresk";
const std::string command = "ln -s ~/Apps/Tresk.app/Contents/MacOS/tresk ~/.local/bin/tresk";
const std::string translocated =
    "/private/var/folders/zz/x1y2_z3/T/AppTranslocation/2E1D4C4A-5B7E-4C1B-9D0E-3F6A7B8C9D0E/d/Tresk.app/"
    "Contents/MacOS/tresk";
const std::string version = "Tresk 1.0.0 (abcdef0)";

std::string utf8(NSString* string) { return utf8FromCFString((__bridge CFStringRef)string).value_or("(not text)"); }

::testing::AssertionResult fontIs(NSFont* font, NSFont* expected) {
    if ([font.fontName isEqualToString:expected.fontName] && font.pointSize == expected.pointSize) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << utf8(font.fontName) << " " << font.pointSize << ", not "
                                       << utf8(expected.fontName) << " " << expected.pointSize;
}

NSFont* bodyFont() { return [NSFont systemFontOfSize:dialog::bodyFontSize]; }
NSFont* monospacedFont() {
    return [NSFont monospacedSystemFontOfSize:dialog::monospacedFontSize weight:NSFontWeightRegular];
}

// The constant of the active, required "width equals" constraint on `view`,
// if any (AppKit's own content-size constraints are weaker).
std::optional<CGFloat> fixedWidth(NSView* view) {
    for (NSLayoutConstraint* constraint in view.constraints) {
        if (constraint.firstItem == view && constraint.firstAttribute == NSLayoutAttributeWidth &&
            constraint.secondItem == nil && constraint.relation == NSLayoutRelationEqual &&
            constraint.priority == NSLayoutPriorityRequired && constraint.active) {
            return constraint.constant;
        }
    }
    return std::nullopt;
}

// A wrapping label, left aligned, at `width`.
void expectLabel(NSView* view, std::string_view shows, NSFont* font, CGFloat width) {
    SCOPED_TRACE(std::string(shows));
    ASSERT_TRUE([view isKindOfClass:NSTextField.class]);
    NSTextField* label = (NSTextField*)view;
    EXPECT_EQ(utf8(label.stringValue), shows);
    EXPECT_TRUE(fontIs(label.font, font));
    EXPECT_FALSE(label.editable);
    EXPECT_TRUE(label.cell.wraps);
    EXPECT_EQ(label.alignment, NSTextAlignmentLeft);
    EXPECT_EQ(label.preferredMaxLayoutWidth, width);
    EXPECT_EQ(fixedWidth(label), width);
}

void expectBodyLabel(NSView* view, std::string_view shows) {
    expectLabel(view, shows, bodyFont(), dialog::bodyWidth);
}

// The last label: "tresk --help" in the monospaced font, the rest in the body font.
void expectHelpLabel(NSView* view) {
    expectBodyLabel(view, dialog::helpHint);
    NSAttributedString* shown = ((NSTextField*)view).attributedStringValue;
    const NSRange command = [shown.string rangeOfString:(__bridge_transfer NSString*)cfString(dialog::helpCommand).release()];
    ASSERT_NE(command.location, NSNotFound);
    NSRange run;
    EXPECT_TRUE(fontIs([shown attribute:NSFontAttributeName atIndex:0 effectiveRange:nullptr], bodyFont()));
    NSFont* commandFont = [shown attribute:NSFontAttributeName
                                   atIndex:command.location
                     longestEffectiveRange:&run
                                   inRange:NSMakeRange(0, shown.length)];
    EXPECT_TRUE(fontIs(commandFont, monospacedFont()));
    EXPECT_TRUE(NSEqualRanges(run, command)) << "the monospaced run is not exactly the command";
    EXPECT_TRUE(fontIs([shown attribute:NSFontAttributeName atIndex:NSMaxRange(command) effectiveRange:nullptr],
                       bodyFont()));
}

NSButton* copyButtonOf(NSView* row) { return (NSButton*)((NSStackView*)row).arrangedSubviews[1]; }

// The command, selectable, at 450 points, with the Copy button beside it on one baseline.
void expectCommandRow(NSView* view, LaunchHelpDelegate* delegate) {
    ASSERT_TRUE([view isKindOfClass:NSStackView.class]);
    NSStackView* row = (NSStackView*)view;
    EXPECT_EQ(row.orientation, NSUserInterfaceLayoutOrientationHorizontal);
    EXPECT_EQ(row.alignment, NSLayoutAttributeFirstBaseline);
    EXPECT_EQ(row.spacing, dialog::rowSpacing);
    ASSERT_EQ(row.arrangedSubviews.count, 2u);
    expectLabel(row.arrangedSubviews[0], command, monospacedFont(), dialog::commandWidth);
    EXPECT_TRUE(((NSTextField*)row.arrangedSubviews[0]).selectable);

    ASSERT_TRUE([row.arrangedSubviews[1] isKindOfClass:NSButton.class]);
    NSButton* copy = copyButtonOf(row);
    EXPECT_EQ(utf8(copy.title), dialog::copyTitle);
    EXPECT_TRUE(copy.target == delegate);
    EXPECT_TRUE(copy.action == @selector(copyCommand:));
    EXPECT_EQ(copy.bezelStyle, NSBezelStyleRounded);
    EXPECT_EQ(fixedWidth(copy), dialog::copyButtonWidth);
}

class LaunchHelpDialog : public ::testing::Test {
protected:
    // AppKit's views need the shared application; no event loop runs.
    void SetUp() override { application = NSApplication.sharedApplication; }

    NSAlert* build(const std::string& executable) {
        return [delegate alertWithVersionLine:version executablePath:executable homePath:home];
    }

    NSApplication* application = nil;
    LaunchHelpDelegate* delegate = [[LaunchHelpDelegate alloc] init];
};

TEST_F(LaunchHelpDialog, BuiltAsDescribed) {
    // Installed: the command to copy. Translocated: the way out instead.
    for (const std::string& executable : {installed, translocated}) {
        SCOPED_TRACE(executable);
        NSAlert* alert = build(executable);
        EXPECT_EQ(alert.alertStyle, NSAlertStyleInformational);
        EXPECT_TRUE(alert.icon == application.applicationIconImage);
        EXPECT_EQ(utf8(alert.messageText), version);
        EXPECT_EQ(alert.informativeText.length, 0u);
        ASSERT_EQ(alert.buttons.count, 1u);
        EXPECT_EQ(utf8(alert.buttons[0].title), dialog::okTitle);

        ASSERT_TRUE([alert.accessoryView isKindOfClass:NSStackView.class]);
        NSStackView* body = (NSStackView*)alert.accessoryView;
        EXPECT_EQ(body.orientation, NSUserInterfaceLayoutOrientationVertical);
        EXPECT_EQ(body.alignment, NSLayoutAttributeLeading);
        EXPECT_EQ(body.spacing, dialog::stackSpacing);
        EXPECT_TRUE(NSEqualSizes(body.frame.size, body.fittingSize)) << "not sized to fit";
        NSArray<NSView*>* rows = body.arrangedSubviews;
        ASSERT_EQ(rows.count, 4u);
        expectBodyLabel(rows[0], dialog::introduction);
        if (executable == installed) {
            expectBodyLabel(rows[1], dialog::symlinkHint);
            expectCommandRow(rows[2], delegate);
        } else {
            expectBodyLabel(rows[1], dialog::translocatedHint);
            expectBodyLabel(rows[2], dialog::moveHint);
        }
        expectHelpLabel(rows[3]);
    }
}

TEST_F(LaunchHelpDialog, CopyPutsExactlyTheCommandOnThePasteboard) {
    NSAlert* alert = build(installed);
    [alert layout];  // the accessory view in the alert's window, as when shown
    NSButton* copy = copyButtonOf(((NSStackView*)alert.accessoryView).arrangedSubviews[2]);
    NSPasteboard* pasteboard = NSPasteboard.generalPasteboard;
    for (int press = 1; press <= 2; ++press) {
        SCOPED_TRACE(press);
        // Something else on the clipboard, of another type: a press that only
        // added its text would leave it there.
        [pasteboard clearContents];
        [pasteboard setString:@"<p>held before</p>" forType:NSPasteboardTypeHTML];
        [copy performClick:nil];
        ASSERT_EQ(pasteboard.pasteboardItems.count, 1u);
        EXPECT_FALSE([pasteboard.pasteboardItems[0].types containsObject:NSPasteboardTypeHTML]);
        EXPECT_EQ(utf8([pasteboard stringForType:NSPasteboardTypeString]), command);
        EXPECT_EQ(utf8(copy.title), dialog::copiedTitle);
    }
}

TEST_F(LaunchHelpDialog, NoVersionNoWindow) {
    // This program has no Info.plist two levels above it: the launch ends
    // with the version line's failure before an alert is made or shown. Were
    // there one, the child would run the alert and wait for a click.
    const std::string infoPlist = infoPlistPath(runningExecutableURL().fileSystemPath);
    ASSERT_FALSE(std::filesystem::exists(infoPlist)) << infoPlist << " would open the dialog";
    EXPECT_EXIT([delegate applicationDidFinishLaunching:[NSNotification notificationWithName:@"" object:nil]],
                ExitedWithCode(1),
                Eq("Error: Version metadata missing; run the signed executable inside its built .app bundle.\n"));
}

}  // namespace
}  // namespace tresk
