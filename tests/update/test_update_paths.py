"""The update step of start-up in an installation folder whose name the ANSI code page (1252 in
the test prefix) cannot hold: the update library is handed a name of that very folder, never a
look-alike, and the stale answer deleted is the program's own."""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import update_harness as harness  # noqa: E402
from update_harness import e2e  # noqa: E402


def unix_path(windows_path):
    return e2e.wine(["winepath", "-u", windows_path]).stdout.strip()


class InstallFolderName(e2e.UserCopyCase):
    def setUp(self):
        super().setUp()
        self.temp = tempfile.mkdtemp(prefix="velmora-paths-")
        self.addCleanup(shutil.rmtree, self.temp, True)
        self.write_user_copy("[SettingInfo]\nExitKeep=0\n")

    def test_the_library_gets_a_name_of_the_installation_folder_itself(self):
        # "Velmor\u0100" converts by best fit to "VelmorA", a folder that exists beside it;
        # Chinese letters convert to "?".
        for name, look_alike in (("Velmor\u0100", "VelmorA"), ("\u66f4\u65b0 Velmora", None)):
            with self.subTest(folder=name):
                install = os.path.join(self.temp, name)
                harness.install_program(install)
                stale = [os.path.join(install, "update", "Update.xml")]
                if look_alike:
                    os.makedirs(os.path.join(self.temp, look_alike, "update"))
                    stale.append(os.path.join(self.temp, look_alike, "update", "Update.xml"))
                for path in stale:
                    with open(path, "w") as f:
                        f.write("<stale/>")

                calls = harness.configuration_calls(install)
                self.assertEqual(calls[-1], "UCAutoVersync()")
                root = harness.call_argument(calls, "UCSetProcessRootPath")
                self.assertEqual(harness.call_argument(calls, "UCSetUpdateRootPath"),
                                 root + "\\update")
                self.assertTrue(os.path.samefile(unix_path(root), install), root)
                self.assertFalse(os.path.exists(stale[0]), "the program's own answer stayed")
                if look_alike:
                    self.assertTrue(os.path.exists(stale[1]), "the look-alike's file was deleted")


if __name__ == "__main__":
    e2e.main()
