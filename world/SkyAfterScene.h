#pragma once

// The engine's header uses the scene node and array types without including them.
#include <ISceneManager.h>
#include <irrArray.h>
#include <ILightManager.h>

#include <functional>

// Draws the sky box after the opaque scene instead of before it, and only
// where nothing nearer was drawn: the terrain and the guns cover about half
// the screen, and the sky filled all of it first. The picture stays the same:
// the sky is drawn at the depth of the far plane, tested against what is
// there, so it fills exactly the pixels the opaque scene left empty, and the
// transparent nodes (smoke, flashes, tracers) still blend over it.
//
// It hooks into the scene manager as its light manager, which the engine
// tells as each render pass ends; it leaves the lights as the engine has them.
// The sky box node stays in the scene graph, hidden from the engine's own
// sky pass, and is drawn from here.
class SkyAfterScene : public irr::scene::ILightManager {
public:
    // sky: the engine's sky box node, which this hides and draws.
    explicit SkyAfterScene(irr::scene::ISceneNode* sky);
    ~SkyAfterScene() override;

    // Run as the opaque scene is about to be drawn, the camera's view of
    // this frame set: the terrain's patches are cut to it there.
    void setBeforeOpaque(std::function<void()> step) { beforeOpaque = std::move(step); }

    void OnPreRender(irr::core::array<irr::scene::ISceneNode*>& lightList) override;
    void OnPostRender() override {}
    void OnRenderPassPreRender(irr::scene::E_SCENE_NODE_RENDER_PASS renderPass) override;
    void OnRenderPassPostRender(irr::scene::E_SCENE_NODE_RENDER_PASS renderPass) override;
    void OnNodePreRender(irr::scene::ISceneNode* node) override {}
    void OnNodePostRender(irr::scene::ISceneNode* node) override {}

private:
    SkyAfterScene(const SkyAfterScene&) = delete;
    SkyAfterScene& operator=(const SkyAfterScene&) = delete;

    irr::scene::ISceneNode* sky;  // grabbed; hidden from the engine's sky pass
    bool shown;                   // the sky is to be drawn this frame
    std::function<void()> beforeOpaque;  // empty for nothing
};
