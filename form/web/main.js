// Trolvane in a browser: a thin view over the window's logic, which runs as
// WebAssembly. The page builds the window from the control table, hands the
// logic the user's edits, pastes, clicks and Return presses, and shows the
// state it gives back: texts, captions with their marks and notes, a failure
// report, and the box the keyboard goes to. The commands above the window, and
// the windows they open, are in commands.js.
import { openCommands } from "./commands.js";
import TrolvaneModule from "./trolvane.mjs";

const FAMILY = '"Trolvane Tahoma", Tahoma, sans-serif';
// The pixels between a box's border and its text, as the style sheet has them.
const BOX_PADDING = 1;

// The user's separators, as the browser's language writes numbers.
function userSeparators() {
    const parts = new Intl.NumberFormat(navigator.language).formatToParts(1234567.5);
    const part = (type) => parts.find((p) => p.type === type)?.value ?? "";
    return [part("decimal") || ".", part("group")];
}

function fontOf(points, bold, italic) {
    return `${italic ? "italic " : ""}${bold ? "bold " : ""}${points}pt ${FAMILY}`;
}

async function openWindow() {
    // The page began compiling the WebAssembly before this script was loaded.
    let failed;
    const failure = new Promise((_, reject) => {
        failed = reject;
    });
    const instantiateWasm = (imports, receive) => {
        window.trolvaneWasm
            .then((module) => WebAssembly.instantiate(module, imports).then((i) => receive(i, module)))
            .catch(failed);
        return {};
    };
    const [trolvane] = await Promise.race([
        Promise.all([
            TrolvaneModule({ instantiateWasm }),
            document.fonts.load(fontOf(12, false, false)).catch(() => []),
        ]),
        failure,
    ]);
    const table = JSON.parse(trolvane.controlTable());
    const look = trolvane.windowLook();
    const pixels = (twips) => Math.trunc(twips / look.twipsPerPixel);
    const form = new trolvane.Window();
    // Finding the user's separators takes the browser a while the first time:
    // it is done once the window is up, or at the first action that needs it.
    let separatorsKnown = false;
    function logic() {
        if (!separatorsKnown) {
            form.setSeparators(...userSeparators());
            separatorsKnown = true;
        }
        return form;
    }

    const windowElement = document.getElementById("window");
    Object.assign(windowElement.style, {
        width: `${pixels(look.width)}px`,
        height: `${pixels(look.height)}px`,
    });
    windowElement.style.setProperty("--background", look.background);
    windowElement.style.setProperty("--out-of-date-text", look.outOfDateText);
    windowElement.style.setProperty("--warning-text", look.warningText);
    windowElement.style.setProperty("--warning-background", look.warningBackground);

    // Each control where the table places it; a label that names a box is its
    // <label>, and a box with no such label is named by one only screen
    // readers hear.
    const elements = table.map((entry) => {
        let element;
        if (entry.kind === "box") {
            element = document.createElement("input");
            Object.assign(element, { type: "text", value: entry.text, autocomplete: "off" });
            element.spellcheck = false;
        } else if (entry.kind === "button") {
            element = document.createElement("button");
            Object.assign(element, { type: "button", textContent: entry.text });
        } else {
            const names = table.find((box) => box.kind === "box" && box.spokenName === entry.text);
            element = document.createElement(names && entry.text ? "label" : "div");
            if (names && entry.text) {
                element.htmlFor = names.name;
            }
            element.className = "caption";
            element.classList.toggle("centred", entry.kind === "centredLabel");
            element.classList.toggle("result", entry.kind === "resultLabel");
            element.style.setProperty("--ink", entry.colour);
        }
        element.id = entry.name;
        Object.assign(element.style, {
            left: `${pixels(entry.left)}px`,
            top: `${pixels(entry.top)}px`,
            width: `${pixels(entry.width)}px`,
            height: `${pixels(entry.height)}px`,
            font: fontOf(entry.points, entry.bold, false),
        });
        return element;
    });

    // The keyboard's order is the document's, the reading order the logic
    // gives; a box that no label names follows one only screen readers hear.
    const spokenNames = new Map();
    const order = JSON.parse(trolvane.readingOrder()).flatMap((i) => {
        if (table[i].kind !== "box" || elements.some((e) => e.htmlFor === table[i].name)) {
            return [i];
        }
        const spoken = document.createElement("label");
        Object.assign(spoken, {
            className: "spoken-only",
            htmlFor: table[i].name,
            textContent: table[i].spokenName,
        });
        spokenNames.set(i, spoken);
        return [spoken, i];
    });
    const measure = document.createElement("div");
    measure.id = "measure";
    measure.className = "caption";
    measure.setAttribute("aria-hidden", "true");
    // Sits on the last line's baseline.
    const baseline = document.createElement("span");
    baseline.className = "baseline";
    windowElement.replaceChildren(
        ...order.map((i) => (typeof i === "number" ? elements[i] : i)),
        measure,
    );
    // What a box shows of a number too wide for it, drawn over the box while
    // the keyboard is elsewhere; the box's own text stays whole.
    const shownNumbers = new Map();
    table.forEach((entry, i) => {
        if (entry.kind === "box") {
            const shown = document.createElement("div");
            shown.className = "shown-number";
            shown.setAttribute("aria-hidden", "true");
            for (const property of ["left", "top", "width", "height"]) {
                shown.style[property] = elements[i].style[property];
            }
            elements[i].after(shown);
            shownNumbers.set(i, shown);
        }
    });

    // A caption is drawn at its designed size where it fits its label, else a
    // little smaller, by the desktop editions' rule: wrapped at word boundaries
    // in the label's width, no word wider than the label and every line within
    // its height but for the last line's descent, that is down to its baseline.
    function fitCaption(i, caption, italic) {
        const entry = table[i];
        const width = pixels(entry.width);
        const height = pixels(entry.height);
        measure.style.width = `${width}px`;
        measure.replaceChildren(caption, baseline);
        const fits = (points) => {
            measure.style.font = fontOf(points, entry.bold, italic);
            return measure.scrollWidth <= width && baseline.offsetTop <= height;
        };
        elements[i].style.font = fontOf(trolvane.captionPoints(entry.points, fits), entry.bold, italic);
    }

    const fitted = [];
    function showCaption(i, caption, outOfDate, impossible, note) {
        const element = elements[i];
        const key = `${caption}\n${outOfDate}`;
        if (fitted[i] !== key) {
            fitted[i] = key;
            if (caption) {
                fitCaption(i, caption, outOfDate);
            }
        }
        element.classList.toggle("out-of-date", outOfDate);
        element.classList.toggle("impossible", impossible);
        if (element.textContent !== caption) {
            element.textContent = caption;
        }
        element.hidden = caption === "";
        if (note) {
            element.title = note;
            element.setAttribute("aria-description", note);
        } else {
            element.removeAttribute("title");
            element.removeAttribute("aria-description");
        }
    }

    // A box's text is drawn at the largest size down to 6 pt at which it is
    // within the room the box's frame leaves, by the desktop editions' rule. A
    // number too wide even then is shown, while the keyboard is elsewhere, as
    // its leading digits, an ellipsis and any exponent, the whole number its
    // tooltip and description.
    const ruler = document.createElement("canvas").getContext("2d");
    function fitBox(i) {
        const entry = table[i];
        const element = elements[i];
        const width = (points) => {
            element.style.font = fontOf(points, entry.bold, false);
            return element.scrollWidth;
        };
        const room = element.clientWidth;
        const points = trolvane.boxPoints(entry.points, room, width);
        const whole = width(points) <= room;
        const font = fontOf(points, entry.bold, false);
        ruler.font = font;
        const shown = shownNumbers.get(i);
        shown.style.font = font;
        // The box's own text as the box measures it; a shortened one within
        // the room inside the box's padding.
        const number = element.value;
        const textRoom = room - 2 * BOX_PADDING;
        const fits = (text) => (text === number ? whole : ruler.measureText(text).width <= textRoom);
        shown.textContent = trolvane.shownNumber(number, fits);
        const shortened = shown.textContent !== number;
        element.classList.toggle("shortened", shortened);
        if (shortened) {
            element.title = number;
            element.setAttribute("aria-description", number);
        } else {
            element.removeAttribute("title");
            element.removeAttribute("aria-description");
        }
    }

    function moveFocus() {
        const box = form.takeFocus();
        if (box >= 0) {
            elements[box].focus();
            // Selected from the end back, and scrolled to the start, so that
            // the box shows its leading digits.
            elements[box].setSelectionRange(0, elements[box].value.length, "backward");
            elements[box].scrollLeft = 0;
        }
    }

    // Once the report is closed, the keyboard goes to the box to mend.
    const dialog = document.getElementById("report");
    let afterReport = moveFocus;
    dialog.addEventListener("close", () => afterReport());

    function showReport(message, advice, then = moveFocus) {
        document.getElementById("report-message").textContent = message;
        document.getElementById("report-advice").textContent = advice;
        afterReport = then;
        dialog.showModal();
    }

    // Shows the state, then any failure report; the keyboard goes where the
    // state says once the report is closed.
    function show(report) {
        JSON.parse(form.shown()).forEach((state, i) => {
            if (state === null) {
                return;
            }
            if ("text" in state) {
                // A box holds one line: the browser drops line breaks.
                if (elements[i].value !== state.text.replace(/[\r\n]/g, "")) {
                    elements[i].value = state.text;
                }
                elements[i].hidden = !state.visible;
                // Fitted once shown: a hidden box has no width to measure.
                const key = state.visible ? elements[i].value : undefined;
                if (fitted[i] !== key) {
                    fitted[i] = key;
                    if (state.visible) {
                        fitBox(i);
                    }
                }
                if (spokenNames.has(i)) {
                    spokenNames.get(i).hidden = !state.visible;
                }
            } else {
                showCaption(i, state.caption, state.outOfDate, state.impossible, state.note);
            }
        });
        if (report) {
            showReport(report.message, report.advice);
        } else {
            moveFocus();
        }
        // Before the first action there is nothing to follow, and asking would
        // find the user's separators before the window is up.
        if (separatorsKnown) {
            menuCommands.follow();
        }
    }

    const commands = { Command1: () => logic().start(), Command2: () => logic().test() };
    table.forEach((entry, i) => {
        const element = elements[i];
        if (entry.kind === "button" && commands[entry.name]) {
            element.addEventListener("click", () => show(commands[entry.name]()));
        }
        if (entry.kind !== "box") {
            return;
        }
        element.addEventListener("input", () => {
            logic().edit(i, element.value);
            show();
        });
        // A pasted matrix goes to the data dialog. A box would keep only a
        // paste's first line: a paste of several fields goes to the logic
        // whole, in place of the selection.
        element.addEventListener("paste", (event) => {
            const pasted = event.clipboardData?.getData("text/plain") ?? "";
            if (!/[\r\n\t]/.test(pasted)) {
                return;
            }
            event.preventDefault();
            if (logic().pasteOpensData(pasted)) {
                menuCommands.openData(pasted);
                return;
            }
            const { value, selectionStart, selectionEnd } = element;
            logic().edit(i, value.slice(0, selectionStart) + pasted + value.slice(selectionEnd));
            show();
        });
        element.addEventListener("keydown", (event) => {
            if (event.key !== "Enter" || event.isComposing) {
                return;
            }
            // Also keeps the key from pressing the report's button as it opens.
            event.preventDefault();
            show(logic().pressReturn(i));
        });
    });

    table.forEach((entry, i) => {
        if (entry.kind !== "box" && entry.kind !== "button") {
            if (entry.text) {
                showCaption(i, entry.text, false, false, "");
            } else {
                elements[i].hidden = true;
            }
        }
    });
    const menuCommands = openCommands(trolvane, {
        logic,
        show,
        tell: (message, then) => showReport(message, "", then),
    });
    show();
    elements[order.find((i) => table[i]?.kind === "box")].focus();
    setTimeout(logic);
}

openWindow().then(
    () => {
        window.trolvaneReadyAt = performance.now();
        document.documentElement.dataset.ready = "true";
        if ("serviceWorker" in navigator) {
            navigator.serviceWorker
                .register("sw.js")
                .then(() => navigator.serviceWorker.ready)
                .then(() => {
                    document.documentElement.dataset.offline = "ready";
                })
                .catch(() => {});
        }
    },
    (error) => {
        document.getElementById("window").textContent = `Trolvane could not start: ${error}`;
    },
);
