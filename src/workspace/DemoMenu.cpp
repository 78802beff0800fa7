// The Demo menu's items, in menu order.
#include "workspace/DemoMenu.h"

namespace {

DemoItem script(std::vector<std::string> path, std::string name) {
    return {std::move(path), DemoAction::Script, std::move(name)};
}

DemoItem action(std::vector<std::string> path, DemoAction what) {
    return {std::move(path), what, {}};
}

std::vector<DemoItem> buildItems() {
    const std::string three = "3 bodies", lagrange = "Lagrange cases", unequal = "Unequal masses";
    const std::string disturbed = "Disturbed", euler = "Euler cases", closed = "Periodic (closed)";
    const std::string freeFall = "Periodic (free fall)", nonNewton = "Non-Newtonian";
    const std::string choreo = "Choreography", pendulum = "Spherical double pendulum (3D)";
    // The first caption has one blank before "(Newtonian)", the others two.
    const std::string newton1 = " (Newtonian)", newton = "  (Newtonian)";
    return {
        script({"Spirals", "Cornu"}, "CornuSpiral.scr"),
        script({"Spirals", "Curls"}, "CurlySpiral.scr"),
        script({"Spirals", "Double"}, "DoubleSpiral.scr"),
        script({three, lagrange, "Equal masses"}, "3Bodies2D.scr"),
        script({three, lagrange, unequal, "Elliptic"}, "Lagrange.scr"),
        script({three, lagrange, unequal, "Circular"}, "LagrangeCircular.scr"),
        script({three, lagrange, "3 IVPs"}, "3Bodies2D3IVPs.scr"),
        script({three, lagrange, disturbed, "2D"}, "3Bod9995.scr"),
        script({three, lagrange, disturbed, "3D"}, "3Bodies3D.scr"),
        script({three, euler, "Elliptic"}, "Euler.scr"),
        script({three, euler, "Circular"}, "EulerCircular.scr"),
        script({three, closed, "Figure-eight"}, "Samples\\Periodic\\Figure8.scr"),
        script({three, closed, "Butterfly I"}, "Samples\\Periodic\\ButterflyI.scr"),
        script({three, closed, "Moth I"}, "Samples\\Periodic\\MothI.scr"),
        script({three, closed, "Goggles"}, "Samples\\Periodic\\Goggles.scr"),
        script({three, closed, "Dragonfly"}, "Samples\\Periodic\\Dragonfly.scr"),
        script({three, closed, "Yin-yang I"}, "Samples\\Periodic\\YinYangI.scr"),
        action({three, closed, "Run the simulation # ..."}, DemoAction::ClosedRunner),
        script({three, freeFall, "#1"}, "Samples\\Periodic\\FreeFall1.scr"),
        script({three, freeFall, "#18"}, "Samples\\Periodic\\FreeFall18.scr"),
        action({three, freeFall, "Run simulation #..."}, DemoAction::FreeFallRunner),
        script({three, "Relatively periodic"}, "Samples\\Periodic\\RelativePeriodic.scr"),
        script({three, choreo, "O62 (3D)"}, "Samples\\Periodic\\Choreo62.scr"),
        script({three, choreo, "O64 (3D)"}, "Samples\\Periodic\\Choreo64.scr"),
        script({three, choreo, "O231 (3D)"}, "Samples\\Periodic\\Choreo231.scr"),
        script({three, choreo, "O524 (3D)"}, "Samples\\Periodic\\Choreo524.scr"),
        action({three, choreo, "Run simulation #..."}, DemoAction::ChoreographyRunner),
        script({three, nonNewton, "Precession", "i15 = -1 > -1.5" + newton1}, "NonNewton-1.0.scr"),
        script({three, nonNewton, "Precession", "i15 = -1.7 < -1.5" + newton}, "NonNewton-1.7.scr"),
        script({three, nonNewton, choreo, "i15 = -1 > -1.5" + newton}, "NonNewton-1.0Choreo.scr"),
        script({three, nonNewton, choreo, "i15 = -1.7 < -1.5" + newton}, "NonNewton-1.7Choreo.scr"),
        script({three, nonNewton, "Linear spring (i15 = 0)"}, "NonNewton0.scr"),
        script({"4 bodies (3D)", "Torus-like"}, "4BodiesTorus.scr"),
        script({"4 bodies (3D)", "Cubic"}, "4BodiesCubic.scr"),
        script({"7 bodies 5 Lagrange points", "m6=0.1 m7=0.9"}, "LagrangePoints10-90.scr"),
        script({"7 bodies 5 Lagrange points", "m6=0.001 m7=0.999"}, "LagrangePoints001-999.scr"),
        script({"M\xC3\xB6"
                "bius outline (3D)"},
               "Mobius.scr"),
        script({"Lorenz attractor (3D)"}, "LorenzAttractor.scr"),
        script({"Linked tori (3D)"}, "Tori.scr"),
        script({"Klein bottle (3D)"}, "ScrewLineKleinBottle.scr"),
        script({"Rolling disk (3D)"}, "Samples\\RigidDisk\\RollingDisk10Points.scr"),
        script({"Dzhanibekov effect (3D)"}, "Samples\\FreeTop\\L2onlyAsTriang.scr"),
        script({pendulum, "Spin as curves"}, "DoublePendulumSatelliteLike.scr"),
        script({pendulum, "Spin as rods"}, "DoublePendulumSatelliteLikeRods.scr"),
        script({pendulum, "Glass as curves"}, "Psi.scr"),
        script({pendulum, "Glass as rods"}, "PsiRods.scr"),
        {},
        action({"Choose from a list"}, DemoAction::ChooseFromList),
        action({"Load script list"}, DemoAction::ScriptList),
    };
}

} // namespace

const std::vector<DemoItem>& demoItems() {
    static const std::vector<DemoItem> items = buildItems();
    return items;
}
