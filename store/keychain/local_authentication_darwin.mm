#import <LocalAuthentication/LocalAuthentication.h>

#include "common/cf_property_list_darwin.h"
#include "store/keychain/local_authentication.h"
#include "store/keychain/local_authentication_darwin.h"

namespace tresk {
namespace {

LAPolicy platformPolicy(LocalAuthenticationPolicy policy) {
    switch (policy) {
        case LocalAuthenticationPolicy::DeviceOwnerAuthenticationWithBiometrics:
            return LAPolicyDeviceOwnerAuthenticationWithBiometrics;
        case LocalAuthenticationPolicy::DeviceOwnerAuthentication:
            return LAPolicyDeviceOwnerAuthentication;
    }
}

BiometryType biometryOf(LABiometryType type) {
    if (type == LABiometryTypeTouchID) return BiometryType::TouchID;
    if (type == LABiometryTypeNone) return BiometryType::None;
    return BiometryType::Other;
}

class DarwinLocalAuthentication final : public LocalAuthentication {
public:
    PolicyEvaluation evaluate(LocalAuthenticationPolicy policy) override {
        @autoreleasepool {
            LAContext* context = [[LAContext alloc] init];
            NSError* error = nil;
            PolicyEvaluation evaluation;
            evaluation.canEvaluate = [context canEvaluatePolicy:platformPolicy(policy) error:&error];
            if (error) evaluation.errorDescription = utf8FromCFString((__bridge CFStringRef)error.localizedDescription);
            if (evaluation.canEvaluate && policy == LocalAuthenticationPolicy::DeviceOwnerAuthenticationWithBiometrics) {
                evaluation.biometry = biometryOf(context.biometryType);
            }
            return evaluation;
        }
    }
};

}  // namespace

CfRef<CFTypeRef> makeAuthenticationContext(const AuthenticationPrompt& prompt) {
    // Called from C++ with no pool of the caller's: what the framework
    // autoreleases here is freed here, not kept until the process ends.
    @autoreleasepool {
        LAContext* context = [[LAContext alloc] init];
        // The prompt needs some reason; text that is not UTF-8 leaves it blank.
        NSString* reason = (__bridge_transfer NSString*)cfString(prompt.reason).release();
        context.localizedReason = reason ? reason : @"";
        context.touchIDAuthenticationAllowableReuseDuration = prompt.touchIDReuseSeconds;
        // Retained across the bridge: the CfRef releases it.
        return CfRef<CFTypeRef>::adopt((__bridge_retained CFTypeRef)context);
    }
}

void invalidateAuthenticationContext(CFTypeRef context) {
    @autoreleasepool {
        [(__bridge LAContext*)context invalidate];
    }
}

std::unique_ptr<LocalAuthentication> makeSystemLocalAuthentication() {
    return std::make_unique<DarwinLocalAuthentication>();
}

}  // namespace tresk
