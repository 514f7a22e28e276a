// What is drawn over the scene every frame: the axis marks at the world
// origin and the HUD text of the mode that holds the screen in the top left
// corner; the mode's panel or banner, or between plays the invitation to
// play; while the game is paused, the word that says so at the centre.

#include "TorvelApp.h"
#include "EngineContext.h"
#include "ControlsCard.h"
#include "GameMode.h"
#include "GunCues.h"
#include "HudBand.h"
#include "MenuView.h"
#include "NoticeView.h"
#include "RoundPanelView.h"
#include "RadarRules.h"

#include <IrrlichtDevice.h>
#include <algorithm>
#include <IVideoDriver.h>
#include <IGUIEnvironment.h>
#include <IGUIFont.h>
#include <SMaterial.h>

using namespace irr;

namespace {

// The pause band keeps below the HUD's corner.
const s32 pauseBandTop = 100;

// Without the HUD font the engine's own small font still shows the player
// the rounds, the jets and the points, and every word between rounds.
gui::IGUIFont* hudFontOrBuiltIn(IrrlichtDevice* device)
{
    gui::IGUIFont* font = getHudFont();
    return font ? font : device->getGUIEnvironment()->getBuiltInFont();
}

}

void TorvelApp::drawHud(const core::stringw& lines)
{
    video::SMaterial lineMaterial;
    lineMaterial.MaterialType = video::EMT_TRANSPARENT_ALPHA_CHANNEL;
    lineMaterial.AmbientColor = video::SColor(255, 255, 0, 0);
    lineMaterial.DiffuseColor = video::SColor(255, 255, 0, 0);
    lineMaterial.Thickness = 1.5f;
    lineMaterial.AntiAliasing = video::EAAM_FULL_BASIC;
    lineMaterial.ColorMaterial = video::ECM_NONE;
    lineMaterial.Lighting = false;
    driver->setMaterial(lineMaterial);

    // View and projection stay those of the camera that drew the scene, so
    // the marks sit in the world as the player sees it.
    driver->setTransform(video::ETS_WORLD, core::IdentityMatrix);
    const core::vector3df origin(0.0f, 0.0f, 0.0f);
    driver->draw3DLine(origin, core::vector3df(1.0f, 0.0f, 0.0f), video::SColor(255, 255, 0, 0));
    driver->draw3DLine(origin, core::vector3df(0.0f, 1.0f, 0.0f), video::SColor(255, 0, 255, 0));
    driver->draw3DLine(origin, core::vector3df(0.0f, 0.0f, 1.0f), video::SColor(255, 0, 0, 255));

    gui::IGUIFont* font = hudFontOrBuiltIn(device);
    font->draw(lines, core::rect<s32>(10, 10, 100, 100), video::SColor(255, 255, 255, 255),
               false, false, nullptr);
    mode().drawOverHud(driver, gameTime);
}

void TorvelApp::drawHudBand(const core::stringw& lines)
{
    HudBand::draw(driver, hudFontOrBuiltIn(device), lines, core::position2d<s32>(10, 10));
}

core::dimension2di TorvelApp::hudCorner(const core::stringw& lines)
{
    const core::rect<s32> band = HudBand::area(hudFontOrBuiltIn(device), lines, core::position2d<s32>(10, 10));
    return core::dimension2di(std::max(RadarRules::hudRight, band.LowerRightCorner.X),
                              std::max(RadarRules::hudBottom, band.LowerRightCorner.Y));
}

core::rect<s32> TorvelApp::drawBetweenRounds()
{
    gui::IGUIFont* font = hudFontOrBuiltIn(device);
    const core::rect<s32> box = mode().drawCentre(driver, font, gameTime);
    if (!mode().invites(gameTime))
        return box;
    const bool focused = menu.getScreen() == Menu::Screen::BetweenRounds;
    std::vector<core::rect<s32>> items;
    const core::rect<s32> invitation = RoundPanelView::drawInvitation(
        driver, font, roundMode->getTable().getEntries(), focused ? menu.getSelected() : -1, menuView ? &items : nullptr);
    if (menuView) {
        menuView->drawBetweenRounds(driver, menu, items, !pointer.isHeld());
        menuShown = true;
    }
    if (!anyPlayed) {
        // Beside the invitation, level with its top: to the right where the
        // window has room, else to the left.
        std::vector<core::stringw> card = ControlsCard::lines(useVirtualStick);
        card.insert(card.begin(), ControlsCard::title);
        const core::dimension2d<s32> size = NoticeView::measure(font, card);
        const s32 gap = static_cast<s32>(font->getDimension(L"M").Width) * 2;
        const s32 width = static_cast<s32>(driver->getScreenSize().Width);
        s32 x = invitation.LowerRightCorner.X + gap;
        if (x + size.Width > width)
            x = invitation.UpperLeftCorner.X - gap - size.Width;
        NoticeView::draw(driver, font, card, core::position2d<s32>(x, invitation.UpperLeftCorner.Y), false,
                         video::SColor(255, 255, 214, 80));
    }
    return invitation;
}

void TorvelApp::drawNotices(const core::rect<s32>& centreBox)
{
    gui::IGUIFont* font = hudFontOrBuiltIn(device);
    const core::dimension2du screen = driver->getScreenSize();
    const s32 centreX = static_cast<s32>(screen.Width / 2), centreY = static_cast<s32>(screen.Height / 2);
    if (isPaused())
        drawPauseNotice(centreBox);
    else if (fireUnit.isSightShown() && fireUnit.promptsReload())
        NoticeView::drawLine(driver, font, GunCues::reloadPrompt, core::position2d<s32>(centreX, centreY + 160));
    // For a moment after T, low in the middle where nothing else stands.
    if (!savedShot.empty() && realTime - savedShotTime < savedNoticeTime)
        NoticeView::drawLine(driver, font, core::stringw((core::stringc("Saved ") + savedShot).c_str()),
                             core::position2d<s32>(centreX, static_cast<s32>(screen.Height) - 60));
}

void TorvelApp::drawPauseNotice(const core::rect<s32>& centreBox)
{
    gui::IGUIFont* font = hudFontOrBuiltIn(device);
    // A dark band across the screen, so that the word reads against sky and
    // ground alike: through the middle, over the sight's place, or just
    // above a box that stands there (below it when there is no room above).
    const core::dimension2du screen = driver->getScreenSize();
    const s32 width = static_cast<s32>(screen.Width);
    const s32 half = static_cast<s32>(font->getDimension(L"PAUSED").Height) * 3 / 2;
    // The pause's items stand in a row under the word, inside the band.
    const bool items = menuView && menu.getScreen() == Menu::Screen::Pause;
    const s32 row = items ? menuView->rowHeight() : 0;
    s32 middle = static_cast<s32>(screen.Height / 2);
    if (centreBox.getArea() > 0) {
        middle = centreBox.UpperLeftCorner.Y - half - half / 2 - row;
        if (middle - half < pauseBandTop)
            middle = centreBox.LowerRightCorner.Y + half + half / 2;
    }
    const core::rect<s32> band(0, middle - half, width, middle + half + row);
    driver->draw2DRectangle(video::SColor(160, 0, 0, 0), band);
    font->draw(L"PAUSED", core::rect<s32>(0, middle - half, width, middle + half), video::SColor(255, 255, 255, 255),
               true, true, nullptr);
    if (items) {
        menuView->drawPause(driver, menu, core::rect<s32>(0, middle + half - row / 3, width, middle + half + row - row / 3));
        menuShown = true;
    }
}
