#import <LocalAuthentication/LocalAuthentication.h>

#include "common/cf_property_list_darwin.h"
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
        if (error) evaluation.errorDescription = utf8Text((__bridge CFStringRef)error.localizedDescription);
        return evaluation;
    }

    BiometryType biometryType() override {
        const LABiometryType type = context_.biometryType;
        if (type == LABiometryTypeTouchID) return BiometryType::TouchID;
        if (type == LABiometryTypeNone) return BiometryType::None;
        return BiometryType::Other;
    }

    void setLocalizedReason(const std::string& reason) override {
        // The prompt needs some reason; text that is not UTF-8 leaves it blank.
        NSString* text = (__bridge_transfer NSString*)cfString(reason).release();
        context_.localizedReason = text ? text : @"";
    }

    void setTouchIDAuthenticationAllowableReuseDuration(double seconds) override {
        context_.touchIDAuthenticationAllowableReuseDuration = seconds;
    }

    void invalidate() override { [context_ invalidate]; }

    LAContext* object() const { return context_; }

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

CFTypeRef authenticationContextObject(AuthenticationContext& context) {
    auto* darwin = dynamic_cast<DarwinAuthenticationContext*>(&context);
    return darwin ? (__bridge CFTypeRef)darwin->object() : nullptr;
}

std::unique_ptr<LocalAuthentication> makeSystemLocalAuthentication() {
    return std::make_unique<DarwinLocalAuthentication>();
}

}  // namespace tresk
