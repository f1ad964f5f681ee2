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

class DarwinAuthenticationContext final : public AuthenticationContext {
public:
    PolicyEvaluation canEvaluatePolicy(LocalAuthenticationPolicy policy) override {
        NSError* error = nil;
        PolicyEvaluation evaluation;
        evaluation.canEvaluate = [context_ canEvaluatePolicy:platformPolicy(policy) error:&error];
        if (error) evaluation.errorDescription = utf8FromCFString((__bridge CFStringRef)error.localizedDescription);
        return evaluation;
    }

    BiometryType biometryType() override {
        const LABiometryType type = context_.biometryType;
        if (type == LABiometryTypeTouchID) return BiometryType::TouchID;
        if (type == LABiometryTypeNone) return BiometryType::None;
        return BiometryType::Other;
    }

private:
    LAContext* const context_ = [[LAContext alloc] init];
};

class DarwinLocalAuthentication final : public LocalAuthentication {
public:
    std::shared_ptr<AuthenticationContext> createContext() override {
        return std::make_shared<DarwinAuthenticationContext>();
    }
};

}  // namespace

CfRef<CFTypeRef> makeAuthenticationContext(const AuthenticationPrompt& prompt) {
    LAContext* context = [[LAContext alloc] init];
    // The prompt needs some reason; text that is not UTF-8 leaves it blank.
    NSString* reason = (__bridge_transfer NSString*)cfString(prompt.reason).release();
    context.localizedReason = reason ? reason : @"";
    context.touchIDAuthenticationAllowableReuseDuration = prompt.touchIDReuseSeconds;
    // Retained across the bridge: the CfRef releases it.
    return CfRef<CFTypeRef>::adopt((__bridge_retained CFTypeRef)context);
}

void invalidateAuthenticationContext(CFTypeRef context) { [(__bridge LAContext*)context invalidate]; }

std::unique_ptr<LocalAuthentication> makeSystemLocalAuthentication() {
    return std::make_unique<DarwinLocalAuthentication>();
}

}  // namespace tresk
