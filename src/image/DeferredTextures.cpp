#include "image/DeferredTextures.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "archive/ArchiveMember.h"
#include "image/JpegImage.h"
#include "image/TextureBuild.h"
#include "image/TextureLoader.h"

namespace {

struct DeferredTexture {
    unsigned name = 0;
    std::vector<std::uint8_t> jpeg;
    std::vector<const void*> owners;
    bool permanent = false;  // also named by something loaded at once
    bool wanted = false;
    bool ready = false;
    std::unique_ptr<TextureBuild> build;  // while wanted and not ready
};

// Giving storage back keeps a name by binding it again, which the GLES layer does not
// allow for a name it did not generate: there, every texture is made at once.
#ifdef VOIDRIFT_GLES_LAYER
constexpr bool kDeferralPossible = false;
#else
constexpr bool kDeferralPossible = true;
#endif

bool deferralOn = false;
const void* currentOwner = nullptr;
std::vector<std::unique_ptr<DeferredTexture>> deferred;  // in load order, the order built
std::unordered_map<unsigned, DeferredTexture*> byName;
GLuint scratch = 0;  // every build's scratch texture

DeferredTexture* find(unsigned texture) {
    auto found = byName.find(texture);
    return found == byName.end() ? nullptr : found->second;
}

bool ownedBy(const DeferredTexture& t, const void* owner) {
    return std::find(t.owners.begin(), t.owners.end(), owner) != t.owners.end();
}

// Frees the storage and keeps the name taken by an empty texture, so that no later
// glGenTextures hands it out while objects still hold it.
bool giveBack(DeferredTexture& t) {
    if (!t.ready && !t.build) return false;
    t.build.reset();  // a build cut short has storage too
    glDeleteTextures(1, &t.name);
    glBindTexture(GL_TEXTURE_2D, t.name);
    t.ready = false;
    return true;
}

// True once the texture is complete.
bool stepBuild(DeferredTexture& t) {
    if (t.ready) return true;
    if (scratch == 0) glGenTextures(1, &scratch);
    if (!t.build) t.build = std::make_unique<TextureBuild>(t.name, scratch, t.jpeg.data(), t.jpeg.size());
    if (!t.build->step()) return false;
    t.build.reset();
    t.ready = true;
    return true;
}

}  // namespace

void setTextureDeferral(bool on) { deferralOn = on && kDeferralPossible; }
bool textureDeferral() { return deferralOn; }

TextureOwnerScope::TextureOwnerScope(const void* owner) : previous_(currentOwner) { currentOwner = owner; }
TextureOwnerScope::~TextureOwnerScope() { currentOwner = previous_; }

bool deferringTextures() { return deferralOn && currentOwner != nullptr && graphicsLoading(); }

unsigned deferMipmappedJpegTexture(const char* memberName) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    ArchiveMember member;
    if (!openJpegMember(memberName, member)) {
        fillMipmappedRgbTexture(name, nullptr, 0, 0);
        return name;
    }
    auto t = std::make_unique<DeferredTexture>();
    t->name = name;
    t->jpeg.assign(member.data(), member.data() + member.size());
    t->owners.push_back(currentOwner);
    byName[name] = t.get();
    deferred.push_back(std::move(t));
    return name;
}

void addTextureOwner(unsigned texture) {
    DeferredTexture* t = find(texture);
    if (!t) return;
    if (currentOwner) {
        if (!ownedBy(*t, currentOwner)) t->owners.push_back(currentOwner);
        return;
    }
    // Loaded outside any owner, it must be there at once and stay.
    t->permanent = t->wanted = true;
    while (!stepBuild(*t)) {
    }
}

bool keepTexturesOf(const std::vector<const void*>& owners) {
    bool gaveBack = false;
    for (auto& t : deferred) {
        t->wanted = t->permanent ||
                    std::any_of(owners.begin(), owners.end(), [&](const void* o) { return o && ownedBy(*t, o); });
        if (!t->wanted && giveBack(*t)) gaveBack = true;
    }
    return gaveBack;
}

bool continueTextureBuilds(double seconds) {
    using Clock = std::chrono::steady_clock;
    auto until = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    bool stepped = false;
    for (auto& t : deferred) {
        if (!t->wanted || t->ready) continue;
        if (stepped && Clock::now() >= until) return false;
        while (!stepBuild(*t)) {
            if (Clock::now() >= until) return false;
        }
        stepped = true;
    }
    return true;
}

void finishTexturesOf(const void* owner) {
    for (auto& t : deferred) {
        if (!ownedBy(*t, owner)) continue;
        t->wanted = true;
        while (!stepBuild(*t)) {
        }
    }
}

bool textureReady(unsigned texture) {
    DeferredTexture* t = find(texture);
    return !t || t->ready;
}

void forgetDeferredTextures() {
    deferred.clear();
    byName.clear();
    scratch = 0;
}
