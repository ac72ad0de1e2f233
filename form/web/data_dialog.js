// The data dialog, "Trolvane: Data": a pasted text or a file's bytes, what the
// logic reads in it (or why it cannot be used), the text to edit, the
// correlations of raw data, and Use These Numbers, which fills the window.

// An edited text is read again once the typing pauses this long.
const READ_AGAIN_AFTER_MS = 300;

// view: logic() gives the window's logic, show(report) shows its state.
export function dataDialog(trolvane, view) {
    const dialog = document.getElementById("data");
    const summary = document.getElementById("data-summary");
    const text = document.getElementById("data-text");
    const use = document.getElementById("data-use");
    const cancel = document.getElementById("data-cancel");
    const choice = document.getElementById("data-correlations-choice");
    const correlations = document.getElementById("data-correlations");
    // The logic's dialog while it is open.
    let reading = null;
    // The place of the correlations chosen last, which the next dialog starts with.
    let chosen = 0;
    let pendingRead = 0;
    let prepared = false;

    function showSummary() {
        const shown = reading.shown();
        summary.textContent = shown.summary;
        use.disabled = !shown.usable;
        choice.hidden = !shown.offersCorrelations;
        correlations.selectedIndex = shown.correlations;
        return shown;
    }

    function readAgain() {
        clearTimeout(pendingRead);
        pendingRead = 0;
        if (reading) {
            reading.edit(text.value);
            showSummary();
        }
    }

    function forget() {
        clearTimeout(pendingRead);
        pendingRead = 0;
        reading?.delete();
        reading = null;
    }

    // Use reads any edit still waiting first, so that it uses what is shown.
    function useNumbers() {
        if (pendingRead) {
            readAgain();
        }
        if (!reading || use.disabled) {
            return;
        }
        const report = reading.use(view.logic());
        dialog.close();
        view.show(report);
    }

    // The texts and the handlers, once, when the dialog is first wanted.
    function prepare() {
        if (prepared) {
            return;
        }
        prepared = true;
        const texts = trolvane.dialogTexts();
        document.getElementById("data-title").textContent = texts.dataTitle;
        use.textContent = texts.useButton;
        cancel.textContent = texts.cancelButton;
        document.getElementById("data-correlations-label").textContent = texts.correlations;
        correlations.replaceChildren(...texts.correlationKinds.map((name) => new Option(name)));
        // A choice by the mouse or by the arrow keys shows its summary at once.
        correlations.addEventListener("change", () => {
            chosen = correlations.selectedIndex;
            if (reading) {
                reading.choose(chosen);
                showSummary();
            }
        });
        text.addEventListener("input", () => {
            clearTimeout(pendingRead);
            pendingRead = setTimeout(readAgain, READ_AGAIN_AFTER_MS);
        });
        use.addEventListener("click", useNumbers);
        cancel.addEventListener("click", () => dialog.close());
        // Return is the default button's, but for a new line in the text;
        // Ctrl+Return uses the numbers from there too. Escape cancels.
        dialog.addEventListener("keydown", (event) => {
            const inText = event.target === text;
            if (event.key !== "Enter" || event.isComposing || event.target instanceof HTMLButtonElement ||
                (inText && !event.ctrlKey && !event.metaKey)) {
                return;
            }
            event.preventDefault();
            useNumbers();
        });
        dialog.addEventListener("close", () => {
            forget();
            text.value = "";
        });
    }

    function showDialog(focus) {
        if (!dialog.open) {
            dialog.showModal();
        }
        text.scrollTop = 0;
        focus.focus();
    }

    return {
        // The dialog for a text or a file's bytes.
        open(content) {
            prepare();
            forget();
            reading = new trolvane.DataWindow(view.logic(), content, chosen);
            const shown = showSummary();
            text.value = shown.text;
            text.readOnly = !shown.editable;
            showDialog(shown.usable ? use : shown.editable ? text : cancel);
        },
        // The dialog for a file refused before it was read.
        refuse(message) {
            prepare();
            forget();
            summary.textContent = message;
            text.value = "";
            text.readOnly = true;
            use.disabled = true;
            choice.hidden = true;
            showDialog(cancel);
        },
    };
}
