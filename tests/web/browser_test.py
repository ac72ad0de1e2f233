#!/usr/bin/python3
"""The browser edition's page in headless Chromium, typed into with real key
events: the worked example by keyboard alone, a failure and where the keyboard
goes after it, a pasted column, a decimal-comma language, installing and
reopening with no network, data from a chosen file or the clipboard through the
data dialog, a questionnaire with polychoric correlations, the results copied,
and the How Many Components window following the data. The logic behind the
page has its own tests; these cover the view.

Usage: browser_test.py SITE_FOLDER
"""
import functools
import http.server
import os
import random
import sys
import tempfile
import threading
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

SITE = sys.argv.pop(1) if len(sys.argv) > 1 else "build-web/site"
WORKED_EXAMPLE_ROWS = [" X²(5)= 9.728 p > .05", " X²(2)= 1.857 p > .05", " X² has df = 0"]
TEST_DATA = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "data")
# What every edition shows for questionnaire.csv with polychoric correlations
# (tests/data/questionnaire.h): the summary as R gives it, and parallel analysis
# on permuted answers with each component's random mean and 95th percentile.
QUESTIONNAIRE_SUMMARY = ("Raw data: 300 cases of 6 variables, polychoric correlations\n"
                         "Variables: A2, A3, A5, C1, C2, C3\n"
                         "Determinant of R: 0.20863\n"
                         "Sphericity: exact p = 2.129E-89 (chi-square 464.148 on 15 df)\n"
                         "Kaiser-Meyer-Olkin measure: 0.694 (mediocre)\n"
                         "Eigenvalues: 2.488; 1.505; 0.6598; 0.5309; 0.4958; 0.3209")
QUESTIONNAIRE_PARALLEL_ANALYSIS = ("Parallel analysis: keep 2 (95th percentile of 1000 permuted data "
                                   "sets of 300 cases x 6 variables, polychoric, seed 1)")
QUESTIONNAIRE_RANDOM = [["1.2127", "1.2988"], ["1.1119", "1.1715"], ["1.0311", "1.0768"],
                        ["0.9603", "1.0053"], ["0.8878", "0.9388"], ["0.7962", "0.8650"]]
QUESTIONNAIRE_AGE_REFUSAL = ("Polychoric correlations need whole numbers with at most 10 "
                             "categories: age has 45.")


class Site:
    """The site on a free port of 127.0.0.1, until stopped."""

    def __init__(self):
        handler = functools.partial(Quiet, directory=SITE)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = f"http://127.0.0.1:{self.server.server_port}/"
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def chromium(language="en-US"):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync",
                     f"--user-data-dir={tempfile.mkdtemp(prefix='trolvane-chromium-')}",
                     f"--lang={language}", f"--accept-lang={language}"]:
        options.add_argument(argument)
    options.add_experimental_option("prefs", {"intl.accept_languages": language})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def open_page(driver, url):
    driver.get(url)
    WebDriverWait(driver, 10).until(
        lambda d: d.execute_script("return document.documentElement.dataset.ready === 'true'"))


def press(driver, *keys):
    """Real key events to whatever has the keyboard."""
    ActionChains(driver).send_keys(*keys).perform()


def type_worked_example(driver, det="0.48", eigenvalues=("2", "1", "0.6", "0.4")):
    """Return moves on from box to box and in the number of factors presses
    Start; Tab goes down the eigenvalue boxes, and Return in one presses Test."""
    press(driver, "4", Keys.ENTER, "50", Keys.ENTER, det, Keys.ENTER, "4", Keys.ENTER)
    keys = []
    for value in eigenvalues:
        keys += [value, Keys.TAB]
    press(driver, *keys[:-1], Keys.ENTER)


def value(driver, box):
    return driver.find_element(By.ID, box).get_property("value")


def rows(driver, count=3):
    return [driver.find_element(By.ID, f"test_{row}").text for row in range(1, count + 1)]


def focused(driver):
    return driver.switch_to.active_element.get_attribute("id")


def with_ctrl(driver, keys, shift=False):
    chain = ActionChains(driver).key_down(Keys.CONTROL)
    if shift:
        chain = chain.key_down(Keys.SHIFT)
    chain = chain.send_keys(keys)
    if shift:
        chain = chain.key_up(Keys.SHIFT)
    chain.key_up(Keys.CONTROL).perform()


def allow_clipboard(driver, url):
    driver.execute_cdp_cmd("Browser.grantPermissions", {
        "origin": url.rstrip("/"), "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})


def write_clipboard(driver, text):
    written = driver.execute_async_script(
        "navigator.clipboard.writeText(arguments[0]).then(() => arguments[1](true),"
        " () => arguments[1](false))", text)
    assert written, "the clipboard could not be written"


def read_clipboard(driver):
    return driver.execute_async_script(
        "navigator.clipboard.readText().then(arguments[0], (e) => arguments[0](String(e)))")


def drawn_colour(driver, x, y):
    """The colour of the pixel drawn at (x, y) of the viewport, as #rrggbb."""
    shot = driver.execute_cdp_cmd("Page.captureScreenshot", {
        "clip": {"x": int(x), "y": int(y), "width": 1, "height": 1, "scale": 1}})
    red, green, blue = driver.execute_async_script(
        "const image = new Image(), done = arguments[1];"
        "image.onload = () => {"
        "  const canvas = document.createElement('canvas'), context = canvas.getContext('2d');"
        "  context.drawImage(image, 0, 0);"
        "  done([...context.getImageData(0, 0, 1, 1).data.slice(0, 3)]);"
        "};"
        "image.src = 'data:image/png;base64,' + arguments[0];", shot["data"])
    return f"#{red:02x}{green:02x}{blue:02x}"


def data_file(text):
    """A file the page's file input can be given."""
    handle, path = tempfile.mkstemp(prefix="trolvane-data-", suffix=".csv")
    with os.fdopen(handle, "w", encoding="utf-8") as file:
        file.write(text)
    return path


def open_data_file(driver, path):
    driver.find_element(By.ID, "open-data").send_keys(path)
    WebDriverWait(driver, 10).until(lambda d: d.find_element(By.ID, "data").get_property("open"))


def use_data(driver, text):
    """Opens the text as a data file and uses it with Return."""
    used = data_file(text)
    try:
        open_data_file(driver, used)
        press(driver, Keys.ENTER)
        dialog_closed(driver, "data")
    finally:
        os.remove(used)


def dialog_closed(driver, dialog):
    WebDriverWait(driver, 5).until(lambda d: not d.find_element(By.ID, dialog).get_property("open"))


def shows_whole_text(driver, box):
    """Whether the box's text is within its room, drawn at 6 pt or more, and
    shown as it is rather than shortened with a tooltip."""
    return driver.execute_script(
        "const box = document.getElementById(arguments[0]);"
        "return box.scrollWidth <= box.clientWidth && !box.title"
        " && parseFloat(getComputedStyle(box).fontSize) >= 8;",
        box)


class English(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.site = Site()
        cls.driver = chromium()

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.site.stop()

    def setUp(self):
        open_page(self.driver, self.site.url)

    def test_worked_example_then_a_failure(self):
        driver = self.driver
        self.assertEqual(focused(driver), "v")
        type_worked_example(driver)
        # The rows read as computed, drawn in fitted Tahoma, with their notes.
        self.assertEqual(rows(driver), WORKED_EXAMPLE_ROWS)
        row = driver.find_element(By.ID, "test_1")
        self.assertTrue(row.get_attribute("title").startswith("Exact p = 0.08331"))
        self.assertEqual(row.get_attribute("aria-description"), row.get_attribute("title"))
        self.assertFalse(driver.find_element(By.ID, "eigen_5").is_displayed())
        self.assertEqual(focused(driver), "eigen_4")
        # Screen readers name the boxes as the desktop editions do.
        names = [driver.find_element(By.ID, box).accessible_name for box in ("v", "f", "eigen_2")]
        self.assertEqual(names, ["Number of Variables", "How many factors do you want to consider?",
                                 "Eigenvalue 2"])

        # Eigenvalue 4 emptied: Test reports it, and once the report is closed
        # the keyboard is there, with everything typed and computed kept.
        press(driver, Keys.BACKSPACE, Keys.BACKSPACE, Keys.BACKSPACE, Keys.ENTER)
        dialog = driver.find_element(By.ID, "report")
        self.assertTrue(dialog.get_property("open"))
        self.assertIn("Eigenvalue 4", driver.find_element(By.ID, "report-advice").text)
        self.assertTrue(driver.find_element(By.ID, "report-message").text.startswith(
            "Run-time error '13':"))
        press(driver, Keys.ENTER)
        WebDriverWait(driver, 5).until(lambda d: not dialog.get_property("open"))
        self.assertEqual(focused(driver), "eigen_4")
        typed = [value(driver, box) for box in ("v", "n", "det", "f", "eigen_1", "eigen_2",
                                                 "eigen_3", "eigen_4")]
        self.assertEqual(typed, ["4", "50", "0.48", "4", "2", "1", "0.6", ""])
        self.assertEqual(rows(driver)[0], WORKED_EXAMPLE_ROWS[0])

    def test_boxes_show_the_numbers_they_hold(self):
        """Numbers longer than the boxes were drawn for: the boxes at the top
        show them whole as they are typed and after Start and Test; an
        eigenvalue box shows its whole number or has it as its tooltip."""
        driver = self.driver
        top = ("v", "n", "det", "f")
        press(driver, "25", Keys.ENTER, "2436", Keys.ENTER, "0.000564063865899769", Keys.ENTER, "3")
        self.assertEqual([b for b in top if not shows_whole_text(driver, b)], [])
        for n in ("100000", "1000000"):
            driver.find_element(By.ID, "n").click()
            with_ctrl(driver, "a")
            press(driver, n)
            self.assertEqual([b for b in top if not shows_whole_text(driver, b)], [], n)
        driver.find_element(By.ID, "Command1").click()
        self.assertEqual([b for b in top if not shows_whole_text(driver, b)], [])
        eigenvalues = ["5.13431117720728", "2.123456789012345", "1.23456789012345E-01"]
        press(driver, eigenvalues[0], Keys.TAB, eigenvalues[1], Keys.TAB, eigenvalues[2], Keys.ENTER)
        self.assertEqual([b for b in top if not shows_whole_text(driver, b)], [])
        for row, number in enumerate(eigenvalues, 1):
            box = f"eigen_{row}"
            self.assertEqual(value(driver, box), number)
            title = driver.find_element(By.ID, box).get_attribute("title")
            self.assertTrue(shows_whole_text(driver, box) or title == number, box)

    def test_pasted_column_fills_the_rows(self):
        driver = self.driver
        press(driver, "4", Keys.ENTER, "50", Keys.ENTER, "0.48", Keys.ENTER, "4", Keys.ENTER)
        allow_clipboard(driver, self.site.url)
        write_clipboard(driver, "Eigenvalue\r\n2\r\n1\r\n0.6\r\n0.4\r\n")
        with_ctrl(driver, "v")
        self.assertEqual([value(driver, f"eigen_{row}") for row in range(1, 5)],
                         ["2", "1", "0.6", "0.4"])
        press(driver, Keys.ENTER)
        self.assertEqual(rows(driver), WORKED_EXAMPLE_ROWS)

    def test_chosen_file_fills_the_window_and_a_refused_one_changes_nothing(self):
        driver = self.driver
        cases = random.Random(19)
        lines = ["name,height,weight,age,score"] + [
            f"case {i},{cases.gauss(170, 9):.1f},{cases.gauss(70, 12):.1f},{cases.randint(18, 80)},"
            f"{cases.gauss(50, 10):.2f}" for i in range(12)]
        used = data_file("\n".join(lines) + "\n")
        refused = data_file("nothing but words\n")
        try:
            open_data_file(driver, used)
            self.assertEqual(driver.find_element(By.ID, "data-title").text, "Trolvane: Data")
            summary = driver.find_element(By.ID, "data-summary").text.splitlines()
            self.assertEqual(summary[:3], ["Raw data: 12 cases of 4 variables",
                                           "Left out: name (no numbers)",
                                           "Variables: height, weight, age, score"])
            self.assertIn("name,height", driver.find_element(By.ID, "data-text").get_property("value"))
            # Return is Use These Numbers: the window is filled and tested.
            press(driver, Keys.ENTER)
            dialog_closed(driver, "data")
            self.assertEqual([value(driver, box) for box in ("v", "n", "f")], ["4", "12", "3"])
            # The keyboard waits in the first eigenvalue box, which shows its
            # leading digits.
            self.assertEqual(focused(driver), "eigen_1")
            self.assertGreater(len(value(driver, "eigen_1")), 12)
            self.assertEqual(driver.execute_script(
                "return document.getElementById('eigen_1').scrollLeft"), 0)
            self.assertTrue(all(row.startswith(" X²(") for row in rows(driver, 2)), rows(driver))

            # A refused file says why, Use cannot be pressed, and Escape leaves
            # the window as it was.
            before = [value(driver, box) for box in ("v", "n", "det", "eigen_1")]
            open_data_file(driver, refused)
            self.assertTrue(driver.find_element(By.ID, "data-summary").text)
            self.assertFalse(driver.find_element(By.ID, "data-use").is_enabled())
            press(driver, Keys.ENTER, Keys.ESCAPE)
            dialog_closed(driver, "data")
            self.assertEqual([value(driver, box) for box in ("v", "n", "det", "eigen_1")], before)
        finally:
            os.remove(used)
            os.remove(refused)

    def test_matrix_pasted_into_a_box_or_with_paste_data_opens_the_dialog(self):
        driver = self.driver
        allow_clipboard(driver, self.site.url)
        write_clipboard(driver, "1\t0.5\t0.3\n0.5\t1\t0.4\n0.3\t0.4\t1\n")
        before = value(driver, "v")
        for paste in (lambda: with_ctrl(driver, "v"), lambda: with_ctrl(driver, "v", shift=True)):
            paste()
            WebDriverWait(driver, 5).until(lambda d: d.find_element(By.ID, "data").get_property("open"))
            self.assertEqual(driver.find_element(By.ID, "data-summary").text.splitlines()[0],
                             "Correlation matrix of 3 variables")
            self.assertFalse(driver.find_element(By.ID, "data-correlations").is_displayed())
            press(driver, Keys.ESCAPE)
            dialog_closed(driver, "data")
            self.assertEqual(value(driver, "v"), before)

    def test_pasted_correlation_table_gives_its_sample_size_and_test_runs(self):
        driver = self.driver
        allow_clipboard(driver, self.site.url)
        write_clipboard(driver, "Correlations\n\t\ta\tb\tc\n"
                                "a\tPearson Correlation\t1\t.5**\t.3*\n\tN\t40\t40\t40\n"
                                "b\tPearson Correlation\t.5**\t1\t.4**\n\tN\t40\t40\t40\n"
                                "c\tPearson Correlation\t.3*\t.4**\t1\n\tN\t40\t40\t40\n"
                                "**. Correlation is significant at the 0.01 level (2-tailed).\n")
        with_ctrl(driver, "v", shift=True)
        WebDriverWait(driver, 5).until(lambda d: d.find_element(By.ID, "data").get_property("open"))
        self.assertEqual(driver.find_element(By.ID, "data-summary").text.splitlines()[0],
                         "Correlation matrix of 3 variables, 40 cases")
        press(driver, Keys.ENTER)
        dialog_closed(driver, "data")
        self.assertEqual(value(driver, "n"), "40")
        self.assertIn(" X\u00b2", driver.find_element(By.ID, "test_1").text)

    def test_polychoric_correlations_of_a_questionnaire(self):
        """Polychoric chosen with the arrow key on the choice that Shift+Tab
        reaches from Use: the summary and parallel analysis on permuted answers
        that every edition shows. The next file starts with the choice; a
        variable that cannot be polychoric is named with Use disabled, until
        Pearson is chosen with the mouse."""
        driver = self.driver
        open_data_file(driver, os.path.join(TEST_DATA, "questionnaire.csv"))
        summary = driver.find_element(By.ID, "data-summary")
        ActionChains(driver).key_down(Keys.SHIFT).send_keys(Keys.TAB).key_up(Keys.SHIFT).perform()
        self.assertEqual(focused(driver), "data-correlations")
        self.assertEqual(driver.switch_to.active_element.accessible_name, "Correlations")
        press(driver, Keys.ARROW_DOWN)
        self.assertEqual(summary.text, QUESTIONNAIRE_SUMMARY)
        press(driver, Keys.ENTER)
        dialog_closed(driver, "data")
        self.assertEqual(value(driver, "n"), "300")

        with_ctrl(driver, "h", shift=True)
        first = WebDriverWait(driver, 30).until(lambda d: d.execute_script(
            "const lines = document.getElementById('how-many-lines');"
            "return !lines.classList.contains('out-of-date') && lines.firstChild?.textContent"))
        self.assertEqual(first, QUESTIONNAIRE_PARALLEL_ANALYSIS)
        cells = driver.execute_script(
            "return [...document.querySelectorAll('#how-many-table tbody tr')]"
            ".map((row) => [row.cells[2].textContent, row.cells[3].textContent]);")
        self.assertEqual(cells, QUESTIONNAIRE_RANDOM)
        press(driver, Keys.ESCAPE)
        dialog_closed(driver, "how-many")

        open_data_file(driver, os.path.join(TEST_DATA, "questionnaire_age.csv"))
        choice = Select(driver.find_element(By.ID, "data-correlations"))
        self.assertEqual(choice.first_selected_option.text, "Polychoric")
        self.assertEqual(summary.text, QUESTIONNAIRE_AGE_REFUSAL)
        self.assertFalse(driver.find_element(By.ID, "data-use").is_enabled())
        choice.select_by_visible_text("Pearson")
        self.assertEqual(summary.text.splitlines()[0], "Raw data: 300 cases of 7 variables")
        self.assertTrue(driver.find_element(By.ID, "data-use").is_enabled())
        press(driver, Keys.ESCAPE)
        dialog_closed(driver, "data")

    def test_results_copied_and_saved(self):
        driver = self.driver
        allow_clipboard(driver, self.site.url)
        write_clipboard(driver, "kept")
        # Nothing to copy yet: the clipboard keeps its text, and the user is told.
        with_ctrl(driver, "c", shift=True)
        self.assertIn("no results", driver.find_element(By.ID, "report-message").text)
        press(driver, Keys.ENTER)
        dialog_closed(driver, "report")
        self.assertEqual(read_clipboard(driver), "kept")

        type_worked_example(driver)

        def copied_with_the_rules(driver):
            with_ctrl(driver, "c", shift=True)
            copied = read_clipboard(driver)
            return "Parallel analysis" in copied and copied

        # The rules follow in the page's next turn, and the report gains their sentence.
        self.assertEqual(WebDriverWait(driver, 10).until(copied_with_the_rules), (
            "Components kept\tEigenvalue\tChi-square\tdf\tExact p\tResult\tNote\n"
            "1\t2\t9.728\t5\t0.08331\t X²(5)= 9.728 p > .05\t\n"
            "2\t1\t1.857\t2\t0.3951\t X²(2)= 1.857 p > .05\t\n"
            "3\t0.6\t\t0\t\t X² has df = 0\t\n"
            "\n"
            "Bartlett's test for the next component (p = 4 variables, n = 50, det(R) = 0.48): "
            "after 1 component, χ²(5) = 9.73, p = .083; after 2 components, χ²(2) = 1.86, "
            "p = .395; after 3 components no degrees of freedom remain.\n"
            "\n"
            "Parallel analysis (1000 random data sets, 95th percentile) suggests keeping 1 "
            "component, optimal coordinates 1, the acceleration factor 1, Kaiser's rule 1 and "
            "Bartlett's test 1; for factors, the empirical Kaiser criterion suggests 1.\n"))

        # Saved, the file keeps the mark that tells spreadsheets it is UTF-8.
        folder = tempfile.mkdtemp(prefix="trolvane-downloads-")
        driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                               {"behavior": "allow", "downloadPath": folder})
        with_ctrl(driver, "s")
        saved = os.path.join(folder, "trolvane-results.csv")
        WebDriverWait(driver, 10).until(lambda d: os.path.exists(saved))
        with open(saved, "rb") as file:
            self.assertTrue(file.read().startswith("\ufeffNumber of Variables,4\r\n".encode()))

    def test_how_many_components_follows_a_data_file(self):
        driver = self.driver
        allow_clipboard(driver, self.site.url)
        # Six variables, three on each of two factors.
        cases = random.Random(24)
        lines = ["a,b,c,d,e,f"]
        for _ in range(300):
            factors = [cases.gauss(0, 1), cases.gauss(0, 1)]
            lines.append(",".join(f"{factors[i // 3] + cases.gauss(0, 0.7):.3f}" for i in range(6)))
        use_data(driver, "\n".join(lines) + "\n")
        with_ctrl(driver, "h", shift=True)
        window = driver.find_element(By.ID, "how-many")
        self.assertEqual(driver.find_element(By.ID, "how-many-title").text,
                         "Trolvane: How Many Components")
        self.assertEqual(driver.switch_to.active_element.accessible_name, "Random data sets")
        shown = WebDriverWait(driver, 10).until(lambda d: d.execute_script(
            "const lines = [...document.querySelectorAll('#how-many-lines p')];"
            "return lines.length === 10 && !lines[0].parentNode.classList.contains('out-of-date')"
            " && lines.map((line) => line.textContent)"))
        self.assertEqual(shown[0], "Parallel analysis: keep 2 (95th percentile of 1000 random data "
                                   "sets of 300 cases x 6 variables, seed 1)")
        self.assertTrue(shown[7].startswith("Empirical Kaiser criterion: keep "), shown[7])
        self.assertEqual(len(window.find_elements(By.CSS_SELECTOR, "#how-many-table tbody tr")), 6)

        # The plot's first dot is drawn where the plot's SVG puts it, in its colour.
        colour, x, y = driver.execute_script(
            "const svg = document.querySelector('#how-many-plot svg');"
            "const dot = svg.querySelector('circle'), box = svg.getBoundingClientRect();"
            "const scale = box.width / svg.viewBox.baseVal.width;"
            "return [dot.getAttribute('fill'), box.left + dot.cx.baseVal.value * scale,"
            " box.top + dot.cy.baseVal.value * scale];")
        self.assertEqual(drawn_colour(driver, x, y), colour)
        driver.find_element(By.ID, "how-many-copy-plot").click()
        WebDriverWait(driver, 10).until(lambda d: "image/png" in d.execute_async_script(
            "navigator.clipboard.read().then((items) => arguments[0](items[0].types),"
            " () => arguments[0]([]))"))

        driver.find_element(By.ID, "how-many-copy-table").click()
        copied = read_clipboard(driver)
        self.assertTrue(copied.startswith("Component\tEigenvalue\tRandom mean\tRandom 95th percentile"
                                          "\tAverage squared partial\tAverage fourth-power partial"
                                          "\tReduced eigenvalue\tRandom reduced 95th percentile"
                                          "\tML chi-square p\n1\t"),
                        copied)
        self.assertIn("\n\n" + "\n".join(shown), copied)
        # The report sentence gains the rules, with the window still open.
        with_ctrl(driver, "c", shift=True)
        self.assertIn("Parallel analysis (1000 random data sets, 95th percentile) suggests keeping 2 "
                      "components", read_clipboard(driver))

        # A changed box marks the lines; a refused setting is named, and the
        # keyboard goes back to its box; Escape closes the window.
        driver.find_element(By.ID, "n").send_keys("0")
        self.assertIn("out-of-date", driver.find_element(By.ID, "how-many-lines").get_attribute("class"))
        percentile = driver.find_element(By.ID, "how-many-setting-1")
        percentile.send_keys(Keys.BACKSPACE, Keys.BACKSPACE, "100", Keys.ENTER)
        self.assertIn("Percentile", driver.find_element(By.ID, "report-message").text)
        press(driver, Keys.ENTER)
        dialog_closed(driver, "report")
        self.assertEqual(focused(driver), "how-many-setting-1")
        press(driver, Keys.ESCAPE)
        dialog_closed(driver, "how-many")

    def test_how_many_components_on_blocks_that_do_not_correlate(self):
        # Two clusters of three with zeros between them, as textbooks print
        # them: every rule, the table and the copies.
        driver = self.driver
        allow_clipboard(driver, self.site.url)
        driver.find_element(By.ID, "n").send_keys("200")
        use_data(driver, "1 .6 .5 0 0 0\n.6 1 .4 0 0 0\n.5 .4 1 0 0 0\n"
                         "0 0 0 1 .7 .6\n0 0 0 .7 1 .5\n0 0 0 .6 .5 1\n")
        with_ctrl(driver, "h", shift=True)
        shown = WebDriverWait(driver, 10).until(lambda d: d.execute_script(
            "const lines = [...document.querySelectorAll('#how-many-lines p')];"
            "return lines.length === 10 && !lines[0].parentNode.classList.contains('out-of-date')"
            " && lines.map((line) => line.textContent)"))
        self.assertEqual(shown[1], "Minimum average partial: keep 2 (fourth powers: 2)")
        driver.find_element(By.ID, "how-many-copy-table").click()
        copied = read_clipboard(driver)
        self.assertEqual(len(copied.split("\n\n")[0].split("\n")), 7, copied)
        self.assertNotIn("nan", copied.lower())
        press(driver, Keys.ESCAPE)
        dialog_closed(driver, "how-many")

    def test_about_from_the_menu_bar_by_keyboard(self):
        driver = self.driver
        # F10 reaches the bar, Left wraps round to Help, Down opens it.
        press(driver, Keys.F10, Keys.ARROW_LEFT, Keys.ARROW_DOWN)
        self.assertEqual(driver.switch_to.active_element.text.splitlines(), ["About Trolvane"])
        press(driver, Keys.ENTER)
        about = driver.find_element(By.ID, "about")
        self.assertTrue(about.get_property("open"))
        self.assertIn("MIT", about.text)
        links = [link.get_attribute("href") for link in about.find_elements(By.TAG_NAME, "a")]
        self.assertEqual(links, [self.site.url + "LICENSE.txt", self.site.url + "NOTICES.txt"])
        press(driver, Keys.ENTER)
        dialog_closed(driver, "about")
        self.assertEqual(focused(driver), "v")

    def test_installable_and_reopened_offline_still_computes(self):
        driver, site = self.driver, Site()
        try:
            open_page(driver, site.url)
            WebDriverWait(driver, 20).until(lambda d: d.execute_script(
                "return document.documentElement.dataset.offline === 'ready'"))
            errors = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})
            self.assertEqual(errors["installabilityErrors"], [])
        finally:
            site.stop()
        open_page(driver, site.url)
        self.assertTrue(driver.execute_script("return navigator.serviceWorker.controller !== null"))
        type_worked_example(driver)
        self.assertEqual(rows(driver), WORKED_EXAMPLE_ROWS)


class German(unittest.TestCase):
    def test_decimal_comma_from_the_browser_language(self):
        site, driver = Site(), chromium("de-DE")
        try:
            open_page(driver, site.url)
            type_worked_example(driver, det="0,48", eigenvalues=("2", "1", "0,6", "0,4"))
            self.assertEqual(rows(driver, 1), [" X²(5)= 9,728 p > .05"])
        finally:
            driver.quit()
            site.stop()


if __name__ == "__main__":
    unittest.main(verbosity=2)
