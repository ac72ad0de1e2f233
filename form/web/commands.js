// The window's commands beyond its two buttons, in a menu bar above it built
// from the logic's command table, with the same keys as the desktop editions:
// data in from a file, the clipboard or a drop, results out to the clipboard
// or a file, the How Many Components window, and About.
import { dataDialog } from "./data_dialog.js";
import { howManyWindow } from "./how_many.js";

const RESULTS_FILE = "trolvane-results.csv";

function keysOf(command) {
    return command.letter ? `Ctrl+${command.shift ? "Shift+" : ""}${command.letter}` : "";
}

// The letter a key event stands for, whatever the Shift key did to it.
function letterOf(event) {
    return event.key.length === 1 ? event.key.toUpperCase() : event.code.replace(/^Key/, "");
}

// Puts both forms of the results on the clipboard: through the copy event
// while the user's key press or click still allows it, else through the
// asynchronous clipboard.
function copyToClipboard({ plainText, html }, tell) {
    let copied = false;
    const write = (event) => {
        event.clipboardData.setData("text/plain", plainText);
        event.clipboardData.setData("text/html", html);
        event.preventDefault();
        copied = true;
    };
    document.addEventListener("copy", write);
    try {
        document.execCommand("copy");
    } finally {
        document.removeEventListener("copy", write);
    }
    if (!copied) {
        const blob = (type, content) => new Blob([content], { type });
        const item = new ClipboardItem({
            "text/plain": blob("text/plain", plainText),
            "text/html": blob("text/html", html),
        });
        navigator.clipboard.write([item]).catch((error) => tell(`The results could not be copied: ${error.message}`));
    }
}

function download(name, content, type) {
    const link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([content], { type }));
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

// A command in a menu, with its keys.
function menuItem(command, run) {
    const item = document.createElement("button");
    Object.assign(item, { type: "button", tabIndex: -1 });
    item.setAttribute("role", "menuitem");
    const text = document.createElement("span");
    text.textContent = command.text;
    const keys = document.createElement("span");
    keys.textContent = keysOf(command);
    if (command.letter) {
        item.setAttribute("aria-keyshortcuts", keysOf(command).replace("Ctrl", "Control"));
    }
    item.append(text, keys);
    item.addEventListener("click", () => run(command.command));
    return item;
}

// A menu: its title in the bar, and the list of its commands that opens below it.
function menu(name, index, commands, run) {
    const title = document.createElement("button");
    Object.assign(title, { type: "button", className: "menu-title", textContent: name, tabIndex: index ? -1 : 0 });
    title.id = `menu-${name.toLowerCase()}`;
    title.setAttribute("role", "menuitem");
    title.setAttribute("aria-haspopup", "menu");
    title.setAttribute("aria-expanded", "false");
    const list = document.createElement("div");
    Object.assign(list, { className: "menu", hidden: true });
    list.setAttribute("role", "menu");
    list.setAttribute("aria-labelledby", title.id);
    const items = commands.filter((command) => command.menu === name).map((command) => menuItem(command, run));
    list.append(...items);
    const group = document.createElement("div");
    group.className = "menu-group";
    group.setAttribute("role", "none");
    group.append(title, list);
    return { title, list, items, group };
}

// The menu bar, with the keyboard as in a desktop's: arrows, Return, Escape,
// and F10 to reach it.
function buildMenuBar(commands, run) {
    const bar = document.getElementById("commands");
    const names = [...new Set(commands.map((command) => command.menu))];
    const menus = names.map((name, index) => menu(name, index, commands, run));
    bar.replaceChildren(...menus.map(({ group }) => group));

    let openIndex = -1;
    // Where the keyboard was before the bar took it, to go back there.
    let returnTo = null;

    function close() {
        if (openIndex >= 0) {
            menus[openIndex].list.hidden = true;
            menus[openIndex].title.setAttribute("aria-expanded", "false");
            openIndex = -1;
        }
    }

    function moveTo(index) {
        menus.forEach((menu, i) => {
            menu.title.tabIndex = i === index ? 0 : -1;
        });
        menus[index].title.focus();
    }

    function open(index, item) {
        close();
        openIndex = index;
        const menu = menus[index];
        menu.list.hidden = false;
        menu.title.setAttribute("aria-expanded", "true");
        moveTo(index);
        if (item !== undefined) {
            menu.items.at(item).focus();
        }
    }

    function leave() {
        close();
        (returnTo && document.contains(returnTo) ? returnTo : document.querySelector("#window input")).focus();
    }

    const step = (index, by) => (index + by + menus.length) % menus.length;
    menus.forEach((menu, index) => {
        // A click from the keyboard goes into the list, one with the pointer opens it.
        menu.title.addEventListener("click", (event) => {
            if (openIndex === index && event.detail > 0) {
                close();
            } else {
                open(index, event.detail === 0 ? 0 : undefined);
            }
        });
        menu.title.addEventListener("pointerenter", () => {
            if (openIndex >= 0 && openIndex !== index) {
                open(index);
            }
        });
        const titleKeys = {
            ArrowDown: () => open(index, 0),
            ArrowUp: () => open(index, -1),
            ArrowRight: () => (openIndex >= 0 ? open(step(index, 1)) : moveTo(step(index, 1))),
            ArrowLeft: () => (openIndex >= 0 ? open(step(index, -1)) : moveTo(step(index, -1))),
            Escape: leave,
        };
        menu.title.addEventListener("keydown", (event) => {
            if (titleKeys[event.key]) {
                event.preventDefault();
                titleKeys[event.key]();
            }
        });
        menu.items.forEach((item, i) => {
            const itemKeys = {
                ArrowDown: () => menu.items[(i + 1) % menu.items.length].focus(),
                ArrowUp: () => menu.items.at(i - 1).focus(),
                Home: () => menu.items[0].focus(),
                End: () => menu.items.at(-1).focus(),
                ArrowRight: () => open(step(index, 1), 0),
                ArrowLeft: () => open(step(index, -1), 0),
                Escape: () => {
                    close();
                    menu.title.focus();
                },
            };
            item.addEventListener("keydown", (event) => {
                if (itemKeys[event.key]) {
                    event.preventDefault();
                    itemKeys[event.key]();
                }
            });
        });
    });
    bar.addEventListener("focusin", (event) => {
        if (!bar.contains(event.relatedTarget)) {
            returnTo = event.relatedTarget;
        }
    });
    bar.addEventListener("focusout", (event) => {
        if (!bar.contains(event.relatedTarget)) {
            close();
        }
    });
    return {
        // A command chosen from a menu: the keyboard goes back where it was first.
        leave,
        focus: () => moveTo(0),
    };
}

// view: logic() gives the window's logic, show(report) shows its state and
// tell(message, then) shows a message, then runs then(). Gives what a paste
// into a box needs, and what follows each showing of the state.
export function openCommands(trolvane, view) {
    const data = dataDialog(trolvane, view);
    const howMany = howManyWindow(trolvane, {
        ...view,
        copy: (copied) => copyToClipboard(copied, view.tell),
        download,
    });
    const fileInput = document.getElementById("open-data");
    const noResults = () => trolvane.dialogTexts().noResults;

    // A file too large to be data is refused before it is read; the bytes of
    // any other go to the logic as they are, which tells their encoding.
    async function openFile(file) {
        const refusal = trolvane.refusalForFileSize(file.size);
        if (refusal) {
            data.refuse(refusal);
            return;
        }
        try {
            data.open(new Uint8Array(await file.arrayBuffer()));
        } catch (error) {
            view.tell(`${file.name} could not be read${error?.message ? `: ${error.message}` : "."}`);
        }
    }

    // An installed Trolvane opens the files the system hands it as Open Data does.
    window.launchQueue?.setConsumer(async ({ files }) => {
        if (files?.length) {
            openFile(await files[0].getFile());
        }
    });

    fileInput.addEventListener("change", () => {
        const [file] = fileInput.files;
        fileInput.value = "";
        if (file) {
            openFile(file);
        }
    });

    const actions = {
        openData: () => fileInput.click(),
        // Where the browser gives no access to the clipboard, the empty dialog
        // takes a paste instead.
        pasteData: () =>
            (navigator.clipboard?.readText() ?? Promise.reject(new Error())).catch(() => "").then(data.open),
        copyResults: () => {
            const copied = view.logic().copyResults();
            if (copied) {
                copyToClipboard(copied, view.tell);
            } else {
                view.tell(noResults());
            }
        },
        saveResults: () => {
            const csv = view.logic().resultsCsv();
            if (csv !== null) {
                download(RESULTS_FILE, csv, "text/csv;charset=utf-8");
            } else {
                view.tell(noResults());
            }
        },
        howManyComponents: () => howMany.open(),
        about: () => {
            const dialog = document.getElementById("about");
            const text = document.getElementById("about-text");
            if (!text.hasChildNodes()) {
                text.append(...trolvane.aboutText().split(/\n\s*\n/).map((paragraph) => {
                    const element = document.createElement("p");
                    element.textContent = paragraph;
                    return element;
                }));
            }
            dialog.showModal();
        },
    };

    const commands = JSON.parse(trolvane.commandTable());
    document.getElementById("about-title").textContent = commands.find((c) => c.command === "about").text;
    const bar = buildMenuBar(commands, (command) => {
        bar.leave();
        actions[command]();
    });

    const byKeys = new Map(commands.filter((c) => c.letter).map((c) => [`${c.shift}${c.letter}`, c.command]));
    document.addEventListener("keydown", (event) => {
        if (document.querySelector("dialog:modal") || event.altKey) {
            return;
        }
        if (event.key === "F10" && !event.ctrlKey && !event.shiftKey) {
            event.preventDefault();
            bar.focus();
            return;
        }
        const command = (event.ctrlKey || event.metaKey) && byKeys.get(`${event.shiftKey}${letterOf(event)}`);
        if (command) {
            event.preventDefault();
            actions[command]();
        }
    });

    // A file dropped anywhere on the page is opened as Open Data opens one.
    window.addEventListener("dragover", (event) => {
        if (event.dataTransfer?.types.includes("Files")) {
            event.preventDefault();
            event.dataTransfer.dropEffect = "copy";
        }
    });
    window.addEventListener("drop", (event) => {
        const file = event.dataTransfer?.files[0];
        if (file) {
            event.preventDefault();
            openFile(file);
        }
    });

    return { openData: data.open, follow: howMany.follow };
}
