// The How Many Components window, "Trolvane: How Many Components": beside the
// main window and following it, every rule's count, its scree plot and table,
// and their copies.
import { screePlot } from "./scree_plot.js";

// Space between the main window and this one, in pixels.
const GAP = 16;
// The random data are drawn a few sets at a time, for at most this many
// milliseconds before the page paints again.
const SETS_AT_A_TIME = 4;
const SLICE = 40;

function element(tag, text = "") {
    const made = document.createElement(tag);
    made.textContent = text;
    return made;
}

// view: logic() gives the window's logic, tell(message, then) shows a message
// and then runs then(), copy(copied) puts text and HTML on the clipboard and
// download(name, content, type) saves a file.
export function howManyWindow(trolvane, view) {
    const dialog = document.getElementById("how-many");
    const settings = document.getElementById("how-many-settings");
    const status = document.getElementById("how-many-status");
    const lines = document.getElementById("how-many-lines");
    const table = document.getElementById("how-many-table");
    const plotArea = document.getElementById("how-many-plot");
    const copyPlot = document.getElementById("how-many-copy-plot");
    const savePlot = document.getElementById("how-many-save-plot");
    const copyTable = document.getElementById("how-many-copy-table");
    const close = document.getElementById("how-many-close");
    let boxes = [];
    let plot = null;
    // Where the keyboard was before the window took it, to go back there.
    let returnTo = null;

    // The plot, the lines and the table of the last rules, as they were computed.
    function showRules() {
        const shown = view.logic().rulesShown();
        lines.replaceChildren(...(shown?.lines ?? []).map((line) => element("p", line)));
        const head = document.createElement("thead");
        const body = document.createElement("tbody");
        if (shown) {
            head.append(element("tr"));
            head.firstChild.append(...shown.header.map((cell) => element("th", cell)));
            body.append(...shown.rows.map((row) => {
                const line = element("tr");
                line.append(...row.map((cell) => element("td", cell)));
                return line;
            }));
        }
        table.replaceChildren(head, body);
        plot.draw();
        copyTable.disabled = !shown;
        copyPlot.disabled = savePlot.disabled = !plot.shown();
        showMarks();
    }

    // The progress while the rules have taken longer than half a second, else
    // why there are none or that they are out of date; the plot faded and the
    // lines and the table in grey italics while they do not follow from the
    // boxes.
    function showMarks() {
        const { text, outOfDate } = view.logic().rulesStatus();
        const running = view.logic().rulesRunning();
        status.textContent = view.logic().rulesProgress() ?? text;
        for (const part of [plotArea, lines, table]) {
            part.classList.toggle("out-of-date", running || outOfDate);
        }
    }

    // Computation `id` (0 for none) runs once the page has painted what it
    // shows now, so that it never delays the rows, drawing the random data and
    // fitting the factor models a slice at a time so that the page paints and
    // takes input between slices;
    // the window's logic ends it once a newer one starts or the window closes.
    function compute(id) {
        if (dialog.open) {
            showMarks();
        }
        if (!id) {
            if (dialog.open) {
                showRules();
            }
            return;
        }
        const slice = () => {
            const until = performance.now() + SLICE;
            let done = false;
            while (!done && performance.now() < until) {
                done = view.logic().drawRules(id, SETS_AT_A_TIME);
            }
            if (!done) {
                if (dialog.open) {
                    showMarks();
                }
                setTimeout(slice);
            } else if (dialog.open) {
                showRules();
            }
        };
        requestAnimationFrame(() => setTimeout(slice));
    }

    // Return in a box: the three boxes become the settings and the rules are
    // computed again, or the refused box is named, and the keyboard goes back
    // to it with its text selected.
    function readSettings(event) {
        if (event.key !== "Enter" || event.isComposing) {
            return;
        }
        // Also keeps the key from pressing the report's button as it opens.
        event.preventDefault();
        const refusal = view.logic().setRuleSettings(boxes.map((box) => box.value));
        if (!refusal) {
            compute(view.logic().startRules());
            return;
        }
        const box = boxes[refusal.box];
        view.tell(refusal.sentence, () => {
            box.focus();
            box.select();
        });
    }

    // The texts, the boxes and the handlers, once, when the window is first wanted.
    function prepare() {
        const texts = trolvane.howManyTexts();
        document.getElementById("how-many-title").textContent = texts.title;
        copyPlot.textContent = texts.copyPlot;
        savePlot.textContent = texts.savePlot;
        copyTable.textContent = texts.copyTable;
        close.textContent = texts.close;
        dialog.style.setProperty("--out-of-date-text", trolvane.windowLook().outOfDateText);
        boxes = texts.settings.map(({ name, initial }, i) => {
            const box = document.createElement("input");
            Object.assign(box, { type: "text", value: initial, id: `how-many-setting-${i}`, autocomplete: "off" });
            box.spellcheck = false;
            box.addEventListener("keydown", readSettings);
            const label = element("label", name);
            label.htmlFor = box.id;
            settings.append(label, box);
            return box;
        });
        copyTable.addEventListener("click", () => {
            const copied = view.logic().copyTable();
            if (copied) {
                view.copy(copied);
            }
        });
        plot = screePlot(plotArea, texts.plotFile, view);
        copyPlot.addEventListener("click", plot.copy);
        savePlot.addEventListener("click", plot.save);
        close.addEventListener("click", () => dialog.close());
        dialog.addEventListener("keydown", (event) => {
            if (event.key === "Escape") {
                event.preventDefault();
                dialog.close();
            }
        });
        dialog.addEventListener("close", () => {
            view.logic().cancelRules();
            (returnTo && document.contains(returnTo) ? returnTo : document.querySelector("#window input")).focus();
        });
        window.addEventListener("resize", place);
    }

    // Beside the main window where the page is wide enough, else over it.
    function place() {
        const frame = document.getElementById("frame");
        const room = document.documentElement.clientWidth - frame.offsetWidth - 3 * GAP;
        dialog.classList.toggle("beside", room >= dialog.offsetWidth);
    }

    return {
        // View > How Many Components: the window opens, or takes the keyboard
        // where it is open.
        open() {
            if (!boxes.length) {
                prepare();
            }
            if (!dialog.open) {
                returnTo = document.activeElement;
                dialog.show();
                place();
                showRules();
                // Opened again, it runs what closing it stopped.
                const id = view.logic().reopenRules();
                if (id) {
                    compute(id);
                }
            }
            boxes[0].focus();
        },
        // After the main window showed its state: the rules are computed again
        // after each Test and each Use, and marked when a box changes.
        follow() {
            const id = view.logic().startRules();
            if (id) {
                compute(id);
            } else if (dialog.open) {
                showMarks();
            }
        },
    };
}
