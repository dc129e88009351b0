;;; emacs-eglot.el --- Tarnu for Simplicity (*.simf) through eglot (Emacs 29+)  -*- lexical-binding: t; -*-

;; Load this file from your init file, e.g. (load "/path/to/editors/emacs-eglot.el").

(defvar tarnu-launcher "/path/to/build/tarnu-lsp"
  "Absolute path of the Tarnu launcher in the build directory.")

(define-derived-mode simplicity-mode prog-mode "Simplicity"
  "Major mode for Simplicity contracts."
  (setq-local comment-start "// ")
  (setq-local comment-start-skip "//+\\s-*"))

(add-to-list 'auto-mode-alist '("\\.simf\\'" . simplicity-mode))

(with-eval-after-load 'eglot
  (add-to-list 'eglot-server-programs
               `(simplicity-mode . (,tarnu-launcher "--stdio"))))

(add-hook 'simplicity-mode-hook #'eglot-ensure)

;;; emacs-eglot.el ends here
