#import "launchhelp/launch_help_delegate_darwin.h"

#include <string_view>

#include "common/cf_property_list_darwin.h"
#include "identity/executable_location.h"
#include "identity/version.h"
#include "launchhelp/dialog_texts.h"
#include "launchhelp/symlink_command.h"

namespace {

namespace dialog = tresk::dialog;

// Every text shown is the program's own UTF-8; the fallback only keeps AppKit from a nil.
NSString* appKitText(std::string_view text) {
    NSString* converted = (__bridge_transfer NSString*)tresk::cfString(text).release();
    return converted ? converted : @"";
}

NSFont* monospacedFont() {
    return [NSFont monospacedSystemFontOfSize:dialog::monospacedFontSize weight:NSFontWeightRegular];
}

void fixWidth(NSView* view, CGFloat width) { [view.widthAnchor constraintEqualToConstant:width].active = YES; }

}  // namespace

// The Copy button's action, declared before the row that names it.
@interface LaunchHelpDelegate ()
- (void)copyCommand:(NSButton*)sender;
@end

namespace {

// The command, selectable, with the Copy button beside it; the button sends
// copyCommand: to `target`.
NSView* commandRow(NSString* command, id target) {
    NSTextField* commandLabel = [NSTextField wrappingLabelWithString:command];
    commandLabel.font = monospacedFont();
    commandLabel.selectable = YES;
    commandLabel.alignment = NSTextAlignmentLeft;
    commandLabel.preferredMaxLayoutWidth = dialog::commandWidth;
    fixWidth(commandLabel, dialog::commandWidth);

    NSButton* copyButton = [NSButton buttonWithTitle:appKitText(dialog::copyTitle)
                                              target:target
                                              action:@selector(copyCommand:)];
    copyButton.bezelStyle = NSBezelStyleRounded;
    fixWidth(copyButton, dialog::copyButtonWidth);

    NSStackView* row = [NSStackView stackViewWithViews:@[ commandLabel, copyButton ]];
    row.orientation = NSUserInterfaceLayoutOrientationHorizontal;
    // The command's first line and the button title share one baseline.
    row.alignment = NSLayoutAttributeFirstBaseline;
    row.spacing = dialog::rowSpacing;
    return row;
}

}  // namespace

@implementation LaunchHelpDelegate {
    // The Copy button's target outlives the alert, so the text it copies lives here.
    NSString* _symlinkCommand;
}

- (void)copyCommand:(NSButton*)sender {
    NSPasteboard* pasteboard = NSPasteboard.generalPasteboard;
    [pasteboard clearContents];
    [pasteboard setString:_symlinkCommand forType:NSPasteboardTypeString];
    sender.title = appKitText(dialog::copiedTitle);
}

- (void)applicationDidFinishLaunching:(NSNotification*)notification {
    NSAlert* alert = [[NSAlert alloc] init];
    alert.alertStyle = NSAlertStyleInformational;
    alert.icon = NSApp.applicationIconImage;
    // Ends the run, before any window is shown, when the bundle has no version.
    alert.messageText = appKitText(tresk::versionDescription());

    auto bodyLabel = [](std::string_view text) {
        NSTextField* label = [NSTextField wrappingLabelWithString:appKitText(text)];
        label.font = [NSFont systemFontOfSize:dialog::bodyFontSize];
        label.alignment = NSTextAlignmentLeft;
        label.preferredMaxLayoutWidth = dialog::bodyWidth;
        fixWidth(label, dialog::bodyWidth);
        return label;
    };

    const tresk::ExecutablePaths executable = tresk::runningExecutableURL();
    NSArray<NSView*>* guidance;
    if (tresk::isTranslocated(executable.path)) {
        // No link into a copy that is gone once the app quits: the way out of it instead.
        guidance = @[ bodyLabel(dialog::translocatedHint), bodyLabel(dialog::moveHint) ];
    } else {
        _symlinkCommand = appKitText(tresk::makeSymlinkCommand(executable.path, tresk::homeDirectoryPath()));
        guidance = @[ bodyLabel(dialog::symlinkHint), commandRow(_symlinkCommand, self) ];
    }
    NSTextField* introductionLabel = bodyLabel(dialog::introduction);
    NSTextField* helpHintLabel = bodyLabel(dialog::helpHint);

    NSMutableAttributedString* helpHint =
        [[NSMutableAttributedString alloc] initWithAttributedString:helpHintLabel.attributedStringValue];
    // The texts are the program's own and a test holds one inside the other;
    // should that ever break, the label loses its font, not the process.
    const NSRange command = [helpHint.string rangeOfString:appKitText(dialog::helpCommand)];
    if (command.location != NSNotFound) [helpHint addAttribute:NSFontAttributeName value:monospacedFont() range:command];
    helpHintLabel.attributedStringValue = helpHint;

    NSStackView* body = [NSStackView
        stackViewWithViews:@[ introductionLabel, guidance[0], guidance[1], helpHintLabel ]];
    body.orientation = NSUserInterfaceLayoutOrientationVertical;
    body.alignment = NSLayoutAttributeLeading;
    body.spacing = dialog::stackSpacing;
    NSRect frame = body.frame;
    frame.size = body.fittingSize;
    body.frame = frame;

    alert.accessoryView = body;
    [alert addButtonWithTitle:appKitText(dialog::okTitle)];

    // A desktop launch of a background-only app would leave the alert behind
    // the frontmost window. Deprecated only in newer SDKs, still valid.
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
    [NSApp activateIgnoringOtherApps:YES];
#pragma clang diagnostic pop

    [alert runModal];
    [NSApp terminate:nil];
}

- (instancetype)init {
    self = [super init];
    // Known only once launching has finished.
    if (self) _symlinkCommand = @"";
    return self;
}

@end
