// The scree plot in the How Many Components window: the logic's SVG drawn
// inline as wide as the window, and copied or saved as SVG or PNG for a report.

// The plot's height for its width, and the narrowest it is laid out.
const HEIGHT_FOR_WIDTH = 0.6;
const NARROWEST = 280;

// A figure as a PNG, drawn from its SVG on a canvas.
async function pngOf({ svg, width, height }) {
    const image = new Image();
    image.src = URL.createObjectURL(new Blob([svg], { type: "image/svg+xml" }));
    try {
        await image.decode();
        const canvas = document.createElement("canvas");
        canvas.width = Math.round(width);
        canvas.height = Math.round(height);
        canvas.getContext("2d").drawImage(image, 0, 0, canvas.width, canvas.height);
        return await new Promise((resolve, reject) =>
            canvas.toBlob((png) => (png ? resolve(png) : reject(new Error("the image is too large"))), "image/png"),
        );
    } finally {
        URL.revokeObjectURL(image.src);
    }
}

// area: where the plot is drawn; file: the name Save Plot gives an SVG, whose
// ending a PNG's replaces. view: logic() gives the window's logic,
// tell(message) shows a message, download(name, content, type) saves a file.
export function screePlot(area, file, view) {
    // The plot's size as shown, in pixels; null for none.
    let shown = null;

    // Lays the plot out again for the area's width, and draws it there.
    function draw() {
        const width = Math.max(NARROWEST, Math.floor(area.clientWidth));
        const height = Math.round(width * HEIGHT_FOR_WIDTH);
        const plot = view.logic().plot(width, height);
        if (!plot) {
            shown = null;
            area.replaceChildren();
            return;
        }
        const svg = new DOMParser().parseFromString(plot.svg, "image/svg+xml").documentElement;
        svg.setAttribute("role", "img");
        svg.setAttribute("aria-label", plot.name);
        svg.setAttribute("aria-description", plot.description);
        area.replaceChildren(document.importNode(svg, true));
        shown = { width, height };
    }

    // The plot grows and shrinks with the window.
    new ResizeObserver(() => {
        if (shown && Math.floor(area.clientWidth) !== shown.width) {
            draw();
        }
    }).observe(area);

    // The shown plot as a figure for a report: larger, its fonts and lines alike.
    const figureOf = () => view.logic().figure(shown.width, shown.height);

    const saveDialog = document.getElementById("save-plot");
    saveDialog.addEventListener("close", () => {
        if (!shown || !saveDialog.returnValue) {
            return;
        }
        const figure = figureOf();
        if (saveDialog.returnValue === "svg") {
            view.download(file, figure.svg, "image/svg+xml");
            return;
        }
        pngOf(figure).then(
            (png) => view.download(file.replace(/\.svg$/, ".png"), png, "image/png"),
            (error) => view.tell(`The plot could not be saved: ${error.message}`),
        );
    });

    return {
        draw,
        shown: () => shown !== null,
        // Copy Plot: SVG and PNG where the browser's clipboard takes both, else PNG.
        copy() {
            const figure = figureOf();
            const items = { "image/png": pngOf(figure) };
            if (ClipboardItem.supports?.("image/svg+xml")) {
                items["image/svg+xml"] = new Blob([figure.svg], { type: "image/svg+xml" });
            }
            (navigator.clipboard?.write([new ClipboardItem(items)]) ?? Promise.reject(new Error("no clipboard")))
                .catch((error) => view.tell(`The plot could not be copied: ${error.message}`));
        },
        // Save Plot...: the user chooses SVG or PNG, which is then downloaded.
        save() {
            saveDialog.returnValue = "";
            saveDialog.showModal();
        },
    };
}
