"""The form's tray side on real Linux desktops: an XEmbed tray panel, a StatusNotifierItem host with
desktop notifications, and a desktop without any tray.

Usage: /usr/bin/python3 desktop_tray_test.py DRIVER TESTCASE...
Screenshots go to a new temporary folder, named in the output."""

import os
import sys
import tempfile
import time
import unittest

from desktop_fixture import Desktop, colour_shares, green_extent, wait_for
from dbus_services import DesktopServices

DRIVER = ""
SHOTS = ""
DOUBLE_CLICK_PAUSE = 0.6  # longer than the desktop's double-click interval, so that the next click is single
ERROR = "3"
INFO = "1"


class DesktopTest(unittest.TestCase):
    """One desktop and one driver per test case class."""

    tray = False
    watcher = False

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="tray-desktop-")
        cls.desktop = Desktop(cls.folder.name)
        cls.services = None
        try:
            cls.desktop.start_x_server()
            cls.services = DesktopServices(cls.desktop.start_session_bus(), cls.watcher)
            if cls.tray:
                cls.desktop.start_tray(height=32)
            cls.driver = cls.desktop.start_driver(DRIVER)
        except BaseException:
            cls.tearDownClass()
            raise

    @classmethod
    def tearDownClass(cls):
        driver = getattr(cls, "driver", None)
        try:
            if driver:
                driver.process.stdin.close()
                driver.process.wait(timeout=10)
        finally:
            cls.desktop.stop()
            if cls.services:
                cls.services.stop()
            driver_log = ""
            if driver:
                with open(os.path.join(cls.folder.name, "driver.log")) as log:
                    driver_log = log.read()
            cls.folder.cleanup()
        if driver and driver.process.returncode != 0:
            raise AssertionError("driver ended with %d:\n%s" % (driver.process.returncode, driver_log))

    def show(self, mode="2"):
        self.driver.send("mode", mode)
        self.driver.send("show")

    def popups(self):
        return [w for w in self.desktop.windows(self.driver.process.pid) if w["popup"]]

    def menu(self):
        """The popup menu, once it is open."""
        return wait_for(lambda: [w for w in self.popups() if w["height"] > 40 and w["width"] > 60], "the menu")[0]

    def choose_first_command(self):
        self.menu()
        self.desktop.x("xdotool", "key", "Down", "Return")

    def shot(self, name):
        return os.path.join(SHOTS, "%s-%s.png" % (type(self).__name__, name))


class XEmbedTrayTest(DesktopTest):
    """A panel 32 pixels high, whose icon places are 22 pixels wide."""

    tray = True

    def icon(self):
        self.show()
        return wait_for(lambda: [w for w in self.popups() if w["y"] < 32 and w["x"] > 900 and w["width"] <= 24],
                        "the icon in the tray")[0]

    def click_icon(self, button, repeat=1):
        time.sleep(DOUBLE_CLICK_PAUSE)
        icon = self.icon()
        self.desktop.click(icon["x"] + icon["width"] // 2, icon["y"] + icon["height"] // 4, button, repeat)

    def test_left_click_and_double_click_reach_the_form_on_release(self):
        self.click_icon(1)
        self.assertEqual(self.driver.until("left click"), ["pointer 513", "pointer 514"])
        self.click_icon(1, repeat=2)
        self.assertEqual(self.driver.until("left click"), ["pointer 513", "pointer 514"])
        self.assertEqual(self.driver.until("left click"), ["pointer 515"])
        self.assertEqual(self.driver.until("left click"), ["pointer 514"])
        self.assertEqual(self.driver.settled(), [])

    def test_right_click_opens_the_programs_menu_on_release(self):
        time.sleep(DOUBLE_CLICK_PAUSE)
        icon = self.icon()
        self.desktop.x("xdotool", "mousemove", str(icon["x"] + 11), str(icon["y"] + 5), "mousedown", "3")
        self.driver.until("pointer 516")
        self.assertEqual(self.driver.settled(), [])
        self.desktop.x("xdotool", "mouseup", "3")
        self.driver.until("pointer 517")
        self.desktop.pixels(self.menu(), self.shot("menu"))
        self.choose_first_command()
        self.assertEqual(self.driver.until("menu Pause"), [])

    def test_frames_are_green_then_red_and_keep_their_shape(self):
        icon = self.icon()
        self.assertLess(icon["width"], icon["height"])
        first = self.desktop.pixels(icon, self.shot("green"))
        green, red = colour_shares(first)
        self.assertGreater(green, 0.1)
        self.assertLess(red, 0.01)
        width, height = green_extent(first, icon["width"])
        self.assertLessEqual(abs(width - height), 1)
        wait_for(lambda: self.desktop.pixels(icon, self.shot("green-later")) != first, "the ball to move")
        self.driver.send("mode", "3")
        wait_for(lambda: colour_shares(self.desktop.pixels(icon, self.shot("red")))[1] > 0.1, "red frames")
        self.assertLess(colour_shares(self.desktop.pixels(icon, self.shot("red")))[0], 0.01)

    def test_hiding_removes_the_icon_and_showing_brings_it_back(self):
        icon = self.icon()
        self.driver.send("hide")
        wait_for(lambda: icon["id"] not in [w["id"] for w in self.popups()], "the icon to go")
        self.assertEqual(self.icon()["x"], icon["x"])

    def test_balloon_is_drawn_beside_the_icon_and_clicks_nothing(self):
        icon = self.icon()
        self.driver.send("balloon", ERROR, "Demo App Updater", "Download failed:|Couldn't connect.\\r\\nTry again.")
        balloon = wait_for(lambda: [w for w in self.popups() if w["id"] != icon["id"]], "the balloon")[0]
        self.desktop.pixels(balloon, self.shot("balloon"))
        self.assertGreater(balloon["height"], 3 * 12)
        self.assertTrue(self.services.notifications.empty())
        self.desktop.click(balloon["x"] + balloon["width"] // 2, balloon["y"] + balloon["height"] - 8, 1)
        wait_for(lambda: balloon["id"] not in [w["id"] for w in self.popups()], "the balloon to close")
        self.assertEqual(self.driver.settled(), [])


class StatusNotifierTrayTest(DesktopTest):
    watcher = True
    item = None

    def show_item(self):
        if StatusNotifierTrayTest.item is None:
            self.show()
            StatusNotifierTrayTest.item = self.services.next_item()
        return self.item

    def icon_colours(self, side=16):
        images = {w: bytes(data) for w, h, data in self.services.item_property(self.show_item(), "IconPixmap")}
        data = images.get(side)
        return data and colour_shares([tuple(data[i + 1:i + 4]) for i in range(0, len(data), 4)])

    def test_item_carries_tooltip_with_line_breaks_and_the_frames(self):
        self.driver.send("tip", "Demo App Updater:|Line two\\r\\nLine three")
        self.show_item()
        tooltip = wait_for(lambda: self.services.item_property(self.item, "ToolTip")[2].count("\n") == 2 and
                           self.services.item_property(self.item, "ToolTip"), "the tooltip")
        self.assertEqual(tooltip[2], "Demo App Updater:\nLine two\nLine three")
        sizes = [w for w, h, data in self.services.item_property(self.item, "IconPixmap")]
        self.assertTrue({16, 22, 24, 32, 48, 64} <= set(sizes), sizes)
        wait_for(lambda: (self.icon_colours() or (0, 0))[0] > 0.2, "green frames")
        self.driver.send("mode", "3")
        wait_for(lambda: self.icon_colours()[1] > 0.2, "red frames")
        self.assertLess(self.icon_colours(64)[0], 0.01)

    def test_activate_is_a_left_click_and_context_menu_opens_the_programs_menu(self):
        self.services.item_call(self.show_item(), "Activate")
        self.assertEqual(self.driver.until("left click"), ["pointer 513", "pointer 514"])
        self.services.item_call(self.item, "ContextMenu")
        self.choose_first_command()
        self.assertEqual(self.driver.until("menu Pause"), ["pointer 516", "pointer 517"])

    def test_balloons_are_notifications_and_click_nothing(self):
        # Short time-outs: while a balloon shows, Qt puts it in the item's tooltip.
        self.show_item()
        self.driver.send("balloon", INFO, "Demo App Updater", "Download complete.|Installing.", "100")
        self.assertEqual(self.services.next_notification(),
                         ("Demo App Updater", "Download complete.\nInstalling.", "dialog-information"))
        self.driver.send("balloon", ERROR, "Demo App Updater", "Download failed:\\r\\nCouldn't open URL.", "100")
        self.assertEqual(self.services.next_notification(),
                         ("Demo App Updater", "Download failed:\nCouldn't open URL.", "dialog-error"))
        self.assertEqual(self.driver.settled(), [])


class NoTrayTest(DesktopTest):
    def test_error_balloon_is_a_notification_followed_by_a_left_click(self):
        self.show()
        self.driver.send("balloon", ERROR, "Demo App Updater", "Download failed:|Couldn't open URL.")
        self.assertEqual(self.services.next_notification(),
                         ("Demo App Updater", "Download failed:\nCouldn't open URL.", "dialog-error"))
        self.assertEqual(self.driver.until("left click"), ["pointer 514"])

    def test_other_balloons_are_only_notifications(self):
        self.show()
        self.driver.send("balloon", INFO, "Demo App Updater", "Download complete.")
        self.assertEqual(self.services.next_notification(),
                         ("Demo App Updater", "Download complete.", "dialog-information"))
        self.assertEqual(self.driver.settled(), [])


if __name__ == "__main__":
    DRIVER = os.path.abspath(sys.argv[1])
    SHOTS = tempfile.mkdtemp(prefix="tray-screens-")
    print("screenshots in", SHOTS)
    unittest.main(argv=[sys.argv[0], "-v"] + sys.argv[2:])
